#include "orders/TFrmBelgeler.h"

#include "base/KurusAmount.h"
#include "base/TurkishText.h"
#include "controls/TStripedDBGrid.h"
#include "controls/UpperCaseKeyFilter.h"
#include "desktop/ChooserFolder.h"
#include "desktop/FileChooser.h"
#include "desktop/HelpButton.h"
#include "desktop/HelpViewer.h"
#include "desktop/MessageBoxes.h"
#include "printing/OutcomeMessages.h"
#include "printing/PreviewWindow.h"
#include "registry/OrderCsv.h"
#include "registry/OrderListModel.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kHelpTopic = 6;

TFrmBelgeler::FileChooser &csvChooser()
{
    static TFrmBelgeler::FileChooser installed;
    return installed;
}

QString askForCsvFile(QWidget *parent, const QString &suggested)
{
    return FileChooser::ask({QStringLiteral("CSV dosyası olarak aktar"), QStringLiteral("CSV dosyaları (*.csv)"),
                             QStringLiteral("csv"), true, suggested},
                            parent);
}

QDate quarterStart(const QDate &day)
{
    return QDate(day.year(), (day.month() - 1) / 3 * 3 + 1, 1);
}

// The width a column needs to show text whole in the grid's font, with the
// margins the grid's cells keep and the grid line.
int columnWidthFor(const QTableView *grid, const QString &text)
{
    QStyleOptionViewItem cell;
    cell.initFrom(grid->viewport());
    cell.font = grid->font();
    cell.fontMetrics = QFontMetrics(grid->font());
    cell.text = text;
    cell.features = QStyleOptionViewItem::HasDisplay;
    cell.displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    const QSize needed = grid->style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), grid);
    return needed.width() + (grid->showGrid() ? 1 : 0);
}

QPushButton *commandButton(const QString &name, const QString &caption, const QString &tip, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFrmBelgeler::TFrmBelgeler(PayeeDatabase &database, QWidget *parent)
    : LazyDialog(parent)
    , m_orders(database)
    , m_reprinting(m_orders)
    , m_list(new OrderList(m_orders, this))
    , m_model(new OrderListModel(m_list, this))
{
    setObjectName(QStringLiteral("FrmBelgeler"));
    setWindowTitle(QStringLiteral("Belgeler - Düzenlenen Ödeme Belgeleri"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setModal(true);
    resize(880, 520);
}

TFrmBelgeler::~TFrmBelgeler() = default;

void TFrmBelgeler::buildWidgets()
{
    m_upperCase = new UpperCaseKeyFilter(this);

    auto *searchLabel = new QLabel(QStringLiteral("Adı Soyadı :"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("EdAra"));
    m_search->setToolTip(QStringLiteral("Adın baş harflerini yazın"));
    m_search->setClearButtonEnabled(true);
    searchLabel->setBuddy(m_search);
    m_upperCase->watch(m_search);
    connect(m_search, &QLineEdit::textChanged, this, &TFrmBelgeler::EdAraChange);

    m_dateRange = new QCheckBox(QStringLiteral("Tarih aralığı :"), this);
    m_dateRange->setObjectName(QStringLiteral("ChkTarih"));
    connect(m_dateRange, &QCheckBox::clicked, this, &TFrmBelgeler::ChkTarihClick);
    const QDate today = QDate::currentDate();
    auto dateEdit = [this](const char *name, const QDate &day) {
        auto *edit = new QDateEdit(day, this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setLocale(TurkishText::locale());
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setCalendarPopup(true);
        edit->setEnabled(false);
        return edit;
    };
    m_from = dateEdit("DtBaslangic", quarterStart(today));
    m_to = dateEdit("DtBitis", today);
    connect(m_from, &QDateEdit::dateChanged, this, &TFrmBelgeler::DtBaslangicChange);
    connect(m_to, &QDateEdit::dateChanged, this, &TFrmBelgeler::DtBitisChange);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(searchLabel);
    filterRow->addWidget(m_search, 1);
    filterRow->addSpacing(16);
    filterRow->addWidget(m_dateRange);
    filterRow->addWidget(m_from);
    filterRow->addWidget(new QLabel(QStringLiteral("-"), this));
    filterRow->addWidget(m_to);

    m_grid = new TStripedDBGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridBelge"));
    m_grid->setModel(m_model);
    m_grid->setDataSet(m_list);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    QPalette palette = m_grid->palette();
    palette.setColor(QPalette::Base, Qt::white);
    m_grid->setPalette(palette);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView *header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(OrderListModel::Payee, QHeaderView::Stretch);
    // The amounts whole up to the largest an amount field holds; no column
    // narrower than its title.
    const int amountWidth = columnWidthFor(m_grid, KurusAmount::toText(KurusAmount::kLargest));
    const int widths[OrderListModel::ColumnCount] = {60, 115, 170, 260, amountWidth, amountWidth, 110};
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_grid->setColumnWidth(column, std::max(widths[column], header->sectionSizeHint(column)));
    m_grid->setColorAlternative(m_alternative);
    m_grid->setColorSelect(m_select);
    m_grid->setColorSelectText(m_selectText);
    connect(m_list, &OrderList::currentChanged, m_grid, &TStripedDBGrid::syncCurrentRow);
    connect(m_list, &OrderList::rowsReset, m_grid, &TStripedDBGrid::syncCurrentRow);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TFrmBelgeler::BtnYenidenClick);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("LabSayi"));
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("LabToplam"));
    m_totals->setToolTip(QStringLiteral("Gösterilen belgelerin tutarları; yeniden basımlar toplama katılmaz"));
    m_totals->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_totals->font();
    bold.setBold(true);
    m_totals->setFont(bold);
    auto *figureRow = new QHBoxLayout;
    figureRow->addWidget(m_count);
    figureRow->addStretch(1);
    figureRow->addWidget(m_totals);

    m_reprintButton = commandButton(QStringLiteral("BtnYeniden"), QStringLiteral("Yeniden Yazdır"),
                                    QStringLiteral("Seçili belgeyi ilk düzenlendiği gibi önizlemede açar"), this);
    m_pdfButton = commandButton(QStringLiteral("BtnPdf"), QStringLiteral("PDF Kaydet"),
                                QStringLiteral("Seçili belgeyi PDF belgesi olarak kaydeder"), this);
    m_csvButton = commandButton(QStringLiteral("BtnCsv"), QStringLiteral("CSV'ye Aktar"),
                                QStringLiteral("Gösterilen belgeleri hesap tablosu için CSV dosyasına yazar"), this);
    auto *closeButton = commandButton(QStringLiteral("BtnKapat"), QStringLiteral("Kapat"),
                                      QStringLiteral("Pencereyi kapatır"), this);
    connect(m_reprintButton, &QPushButton::clicked, this, &TFrmBelgeler::BtnYenidenClick);
    connect(m_pdfButton, &QPushButton::clicked, this, &TFrmBelgeler::BtnPdfClick);
    connect(m_csvButton, &QPushButton::clicked, this, &TFrmBelgeler::BtnCsvClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    m_helpButton = HelpButton::create(this, QRect(0, 0, 25, 25),
                                      QStringLiteral("Yardım (F1)|Belgeler penceresi ile ilgili yardımı görüntüle"));
    connect(m_helpButton, &QToolButton::clicked, this, &TFrmBelgeler::SpeedButton1Click);
    auto *commandRow = new QHBoxLayout;
    commandRow->addWidget(m_reprintButton);
    commandRow->addWidget(m_pdfButton);
    commandRow->addWidget(m_csvButton);
    commandRow->addStretch(1);
    commandRow->addWidget(m_helpButton);
    commandRow->addWidget(closeButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(figureRow);
    layout->addLayout(commandRow);
    setTabOrder(m_search, m_grid);
}

void TFrmBelgeler::showEvent(QShowEvent *event)
{
    LazyDialog::showEvent(event);
    // Orders issued since the window was last open come first.
    refresh();
    m_search->setFocus();
}

void TFrmBelgeler::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        SpeedButton1Click();
        return;
    }
    LazyDialog::keyPressEvent(event);
}

OrderList::Filter TFrmBelgeler::currentFilter() const
{
    OrderList::Filter filter;
    if (!isBuilt())
        return filter;
    filter.namePrefix = m_search->text();
    if (m_dateRange->isChecked()) {
        filter.from = m_from->date();
        filter.to = m_to->date();
    }
    return filter;
}

void TFrmBelgeler::refresh()
{
    ensureBuilt();
    const Result<> opened = m_list->open(currentFilter());
    showFigures();
    if (opened.failed())
        m_count->setText(opened.message());
}

void TFrmBelgeler::showFigures()
{
    m_count->setText(countText());
    m_totals->setText(totalsText());
    const bool any = m_list->current() >= 0;
    m_reprintButton->setEnabled(any);
    m_pdfButton->setEnabled(any);
    m_csvButton->setEnabled(m_list->isActive());
}

QString TFrmBelgeler::countText() const
{
    const OrderList::Totals &totals = m_list->totals();
    const QString count = QStringLiteral("%1 belge").arg(m_list->rowCount());
    if (totals.reprints == 0)
        return count;
    return count + QStringLiteral(" (%1 yeniden basım)").arg(totals.reprints);
}

QString TFrmBelgeler::totalsText() const
{
    const OrderList::Totals &totals = m_list->totals();
    return QStringLiteral("Brüt toplam: %1    Net toplam: %2")
        .arg(KurusAmount::toText(totals.gross), KurusAmount::toText(totals.net));
}

void TFrmBelgeler::EdAraChange(const QString &)
{
    refresh();
}

void TFrmBelgeler::ChkTarihClick(bool checked)
{
    m_from->setEnabled(checked);
    m_to->setEnabled(checked);
    refresh();
}

void TFrmBelgeler::DtBaslangicChange()
{
    if (m_dateRange->isChecked())
        refresh();
}

void TFrmBelgeler::DtBitisChange()
{
    if (m_dateRange->isChecked())
        refresh();
}

void TFrmBelgeler::showFailure(const Result<> &result)
{
    if (result.failed())
        MessageBoxes::showError(this, result.message());
}

void TFrmBelgeler::reprinted(const IssueOutcome &outcome)
{
    OutcomeMessages::show(this, outcome);
    if (outcome.number != 0)
        refresh();
}

void TFrmBelgeler::BtnYenidenClick()
{
    const qint64 number = m_list->numberAt(m_list->current());
    if (number == 0)
        return;
    reprinted(m_reprinting.reprint(number, this));
}

void TFrmBelgeler::BtnPdfClick()
{
    const IssuedOrder order = m_list->currentOrder();
    if (order.number == 0)
        return;
    const QString filePath = PreviewWindow::askPdfPath(
        this, PreviewWindow::suggestedFilePath(OrderReprinting::documentNameOf(order)));
    if (filePath.isEmpty())
        return;
    reprinted(m_reprinting.savePdf(order.number, filePath));
}

QString TFrmBelgeler::suggestedCsvPath() const
{
    const OrderList::Filter &filter = m_list->filter();
    QString name = QStringLiteral("Belgeler");
    if (filter.from.isValid() && filter.to.isValid())
        name += QStringLiteral(" %1-%2").arg(TurkishText::shortDate(filter.from), TurkishText::shortDate(filter.to));
    return ChooserFolder::suggestedPath(ChooserFolder::Kind::Csv, name + QStringLiteral(".csv"));
}

void TFrmBelgeler::BtnCsvClick()
{
    const QString suggested = suggestedCsvPath();
    QString filePath = csvChooser() ? csvChooser()(this, suggested) : askForCsvFile(this, suggested);
    if (filePath.isEmpty())
        return;
    ChooserFolder::remember(ChooserFolder::Kind::Csv, filePath);
    if (QFileInfo(filePath).suffix().isEmpty())
        filePath += QStringLiteral(".csv");
    if (const Result<> written = OrderCsv::write(*m_list, filePath); written.failed()) {
        showFailure(written);
        return;
    }
    MessageBoxes::information(this, QStringLiteral("Bilgi"),
                              QStringLiteral("%1 belge '%2' dosyasına aktarıldı.")
                                  .arg(m_list->rowCount())
                                  .arg(QDir::toNativeSeparators(filePath)));
}

void TFrmBelgeler::SpeedButton1Click()
{
    HelpViewer::showTopic(kHelpTopic, this);
}

void TFrmBelgeler::setListColours(const QColor &alternative, const QColor &select, const QColor &selectText)
{
    if (alternative.isValid())
        m_alternative = alternative;
    if (select.isValid())
        m_select = select;
    if (selectText.isValid())
        m_selectText = selectText;
    if (!m_grid)
        return;
    m_grid->setColorAlternative(m_alternative);
    m_grid->setColorSelect(m_select);
    m_grid->setColorSelectText(m_selectText);
}

ScopedOverride<TFrmBelgeler::FileChooser> TFrmBelgeler::overrideCsvChooser(FileChooser chooser)
{
    return {csvChooser(), std::move(chooser)};
}
