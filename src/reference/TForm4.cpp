#include "reference/TForm4.h"

#include "base/ProfileFile.h"
#include "controls/ChangedOnly.h"
#include "desktop/MessageBoxes.h"
#include "referencedata/AutomaticDates.h"
#include "reference/GridCells.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kClientWidth = 518;
constexpr int kClientHeight = 261;
// The inner width of a tab's panel.
constexpr int kPanelWidth = kClientWidth - 12;
constexpr int kHeight = GridCells::kHeight;
constexpr int kPitch = GridCells::kPitch;

// Top of grid row r of the institution tab.
constexpr int rowTop(int row)
{
    return 40 + row * kPitch;
}

} // namespace

TForm4::TForm4(QWidget *parent)
    : CellWindow(QStringLiteral("Form4"), QStringLiteral("Kurum - İmza Bilgileri Girişi"),
                 QSize(kClientWidth, kClientHeight), parent)
{
    FormCreate();
}

void TForm4::buildPages()
{
    buildInstitutionTab();
    buildSignatoriesTab();
    buildReviewersTab();
    showValues();
}

QLineEdit *TForm4::addField(QWidget *panel, const QString &name, const QRect &geometry, bool heading)
{
    QLineEdit *field = heading ? GridCells::headingCell(panel, name, geometry)
                               : GridCells::valueCell(panel, name, geometry);
    field->setFocusPolicy(Qt::StrongFocus);
    // Every keystroke reaches the store at once.
    connect(field, &QLineEdit::textChanged, this, [this, name](const QString &text) { m_values.texts[name] = text; });
    m_fields.insert(name, field);
    return field;
}

QCheckBox *TForm4::addCheckBox(QWidget *panel, const QString &name, const QPoint &topLeft)
{
    auto *box = new QCheckBox(QStringLiteral("Otm."), panel);
    box->setObjectName(name);
    box->setGeometry(QRect(topLeft, QSize(box->sizeHint().width(), kHeight)));
    connect(box, &QCheckBox::toggled, this, [this, name](bool ticked) { m_values.ticks[name] = ticked; });
    m_checkBoxes.insert(name, box);
    return box;
}

void TForm4::buildInstitutionTab()
{
    QWidget *panel = addPage(QStringLiteral("TabSheet1"), QStringLiteral(" K u r u m  B i l g i l e r i "));

    // Left block: captions, then values; the institution code takes two rows
    // of three cells, the third cell of the first row captioning EdBirim.
    constexpr int kLabelLeft = 12;
    constexpr int kLabelWidth = 118;
    constexpr int kValueLeft = kLabelLeft + kLabelWidth - 1;
    constexpr int kPartWidth = 47; // three of them as wide as the name field
    constexpr int kValueWidth = 3 * (kPartWidth - 1) + 1;
    const auto part = [](int index) { return kValueLeft + index * (kPartWidth - 1); };

    // Right block: captions in two columns, values, then the "Otm." boxes.
    constexpr int kRightLeft = 276;
    constexpr int kRightFirstWidth = 68;
    constexpr int kRightSecondLeft = kRightLeft + kRightFirstWidth - 1;
    constexpr int kRightSecondWidth = 40;
    constexpr int kRightValueLeft = kRightSecondLeft + kRightSecondWidth - 1;
    constexpr int kRightValueWidth = 66; // a whole date
    constexpr int kCheckLeft = kRightValueLeft + kRightValueWidth + 4;
    constexpr int kWideWidth = kRightValueLeft + kRightValueWidth - kValueLeft;

    GridCells::labelCell(panel, QStringLiteral("Edit3"), QStringLiteral("Muhasebe Birim Kodu"),
                         QRect(kLabelLeft, rowTop(0), kLabelWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit7"), QStringLiteral("Muhasebe Birim Adı"),
                         QRect(kLabelLeft, rowTop(1), kLabelWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit5"), QStringLiteral("Kurum - Birim Kodu"),
                         QRect(kLabelLeft, rowTop(2), kLabelWidth, kHeight + kPitch));
    GridCells::labelCell(panel, QStringLiteral("Edit6"), QStringLiteral("Kurum Adı"),
                         QRect(kLabelLeft, rowTop(4), kLabelWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit4"), QStringLiteral("Birim Adı"),
                         QRect(kLabelLeft, rowTop(5), kLabelWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit8"), QStringLiteral("   Birim"),
                         QRect(part(2), rowTop(2), kPartWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit10"), QStringLiteral("Bütçe Yılı"),
                         QRect(kRightLeft, rowTop(1), kRightValueLeft + 1 - kRightLeft, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit9"), QStringLiteral(" Yevmiyenin"),
                         QRect(kRightLeft, rowTop(2), kRightFirstWidth, kHeight + kPitch));
    GridCells::labelCell(panel, QStringLiteral("Edit11"), QStringLiteral("Tarihi"),
                         QRect(kRightSecondLeft, rowTop(2), kRightSecondWidth, kHeight));
    GridCells::labelCell(panel, QStringLiteral("Edit12"), QStringLiteral("No.su"),
                         QRect(kRightSecondLeft, rowTop(3), kRightSecondWidth, kHeight));

    // Created in Tab order: the left block, then the right block.
    addField(panel, QStringLiteral("EdSaymanKod"), QRect(kValueLeft, rowTop(0), kPartWidth * 2 - 1, kHeight));
    addField(panel, QStringLiteral("EdSaymanAd"), QRect(kValueLeft, rowTop(1), kValueWidth, kHeight));
    addField(panel, QStringLiteral("EdBirim1"), QRect(part(0), rowTop(2), kPartWidth, kHeight));
    addField(panel, QStringLiteral("EdBirim2"), QRect(part(1), rowTop(2), kPartWidth, kHeight));
    addField(panel, QStringLiteral("EdBirim3"), QRect(part(0), rowTop(3), kPartWidth, kHeight));
    addField(panel, QStringLiteral("EdBirim4"), QRect(part(1), rowTop(3), kPartWidth, kHeight));
    addField(panel, QStringLiteral("EdBirim"), QRect(part(2), rowTop(3), kPartWidth, kHeight));
    addField(panel, QStringLiteral("EdKurumAdi"), QRect(kValueLeft, rowTop(4), kWideWidth, kHeight));
    addField(panel, QStringLiteral("EdBirimAdi"), QRect(kValueLeft, rowTop(5), kWideWidth, kHeight));
    addField(panel, QStringLiteral("EdButceYili"), QRect(kRightValueLeft, rowTop(1), kRightValueWidth, kHeight));
    addCheckBox(panel, QStringLiteral("CheckBox1"), QPoint(kCheckLeft, rowTop(1)));
    addField(panel, QStringLiteral("EdTarih"), QRect(kRightValueLeft, rowTop(2), kRightValueWidth, kHeight));
    addCheckBox(panel, QStringLiteral("CheckBox2"), QPoint(kCheckLeft, rowTop(2)));
    addField(panel, QStringLiteral("EdNo"), QRect(kRightValueLeft, rowTop(3), kRightValueWidth, kHeight));
}

void TForm4::buildSignatoriesTab()
{
    QWidget *panel = addPage(QStringLiteral("TabSheet2"), QStringLiteral(" İ m z a  Y e t k i l i l e r i "));

    constexpr int kCaptionWidth = 70;
    const auto personRows = [panel, this](int left, int top, int width, const QString &nameField,
                                          const QString &postField) {
        GridCells::labelCell(panel, QString(), QStringLiteral("Adı Soyadı :"),
                             QRect(left, top, kCaptionWidth, kHeight));
        GridCells::labelCell(panel, QString(), QStringLiteral("Görevi :"),
                             QRect(left, top + kPitch, kCaptionWidth, kHeight));
        addField(panel, nameField, QRect(left + kCaptionWidth - 1, top, width - kCaptionWidth + 1, kHeight));
        addField(panel, postField, QRect(left + kCaptionWidth - 1, top + kPitch, width - kCaptionWidth + 1, kHeight));
    };

    // The preparer, at the top right.
    constexpr int kPreparerLeft = 282;
    constexpr int kPreparerWidth = 212;
    addField(panel, QStringLiteral("Edit29"), QRect(kPreparerLeft, 14, kPreparerWidth, kHeight), true);
    personRows(kPreparerLeft, 14 + kPitch, kPreparerWidth, QStringLiteral("Edit1"), QStringLiteral("Edit2"));

    // The three approval columns, each a title over a name and a post.
    constexpr int kColumnTop = 92;
    constexpr int kColumnWidth = 158;
    constexpr int kColumnLefts[] = {12, 176, 340};
    const QString columns[3][3] = {
        {QStringLiteral("Edit19"), QStringLiteral("Edit20"), QStringLiteral("Edit21")},
        {QStringLiteral("Edit22"), QStringLiteral("Edit23"), QStringLiteral("Edit24")},
        {QStringLiteral("Edit25"), QStringLiteral("Edit26"), QStringLiteral("Edit27")},
    };
    for (int column = 0; column < 3; ++column) {
        const int left = kColumnLefts[column];
        addField(panel, columns[column][0], QRect(left, kColumnTop, kColumnWidth, kHeight), true);
        personRows(left, kColumnTop + kPitch, kColumnWidth, columns[column][1], columns[column][2]);
    }
    addField(panel, QStringLiteral("Edit28"),
             QRect(kColumnLefts[0], kColumnTop + 3 * kPitch + 8, kColumnWidth, kHeight), true);
}

void TForm4::buildReviewersTab()
{
    QWidget *panel = addPage(QStringLiteral("TabSheet3"), QStringLiteral(" T e t k i k  E d e n "));

    auto *heading = new QLabel(QStringLiteral("TETKİK EDEN"), panel);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    heading->setGeometry(12, 16, kPanelWidth - 24, kHeight);

    constexpr int kColumnWidth = 158;
    constexpr int kColumnLefts[] = {12, 176, 340};
    constexpr int kTitleTop = 44;
    const QString titles[] = {QStringLiteral("Edit13"), QStringLiteral("Edit14"), QStringLiteral("Edit15")};
    const QString names[] = {QStringLiteral("Edit16"), QStringLiteral("Edit17"), QStringLiteral("Edit18")};
    for (int column = 0; column < 3; ++column)
        addField(panel, titles[column], QRect(kColumnLefts[column], kTitleTop, kColumnWidth, kHeight));
    for (int column = 0; column < 3; ++column)
        addField(panel, names[column], QRect(kColumnLefts[column], kTitleTop + kPitch, kColumnWidth, kHeight));

    auto *caption = new QLabel(QStringLiteral("Sayfa sonunda gösterilecek yazı:"), panel);
    caption->setObjectName(QStringLiteral("Label2"));
    caption->setGeometry(12, 112, kPanelWidth - 24, kHeight);
    QLineEdit *footnote = addField(panel, QStringLiteral("Edit30"),
                                   QRect(12, 112 + kHeight + 2, kColumnLefts[2] + kColumnWidth - 12, kHeight));
    caption->setBuddy(footnote);
}

QString TForm4::fieldText(const QString &objectName) const
{
    return m_values.texts.value(objectName);
}

void TForm4::showValues()
{
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it)
        GridCells::showText(it.value(), m_values.text(it.key()));
    for (auto it = m_checkBoxes.cbegin(); it != m_checkBoxes.cend(); ++it)
        it.value()->setChecked(m_values.isTicked(it.key()));
}

void TForm4::FormCreate()
{
    InstitutionSettings::load(ProfileFile(), m_values);
}

void TForm4::FormClose()
{
    // The fields keep their texts whatever happens: the next close tries again.
    ProfileFile file;
    if (const Result<> saved = InstitutionSettings::save(file, values()); saved.failed())
        MessageBoxes::showError(this, saved.message());
}

void TForm4::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TForm4::setValue(const QString &objectName, const QString &text)
{
    if (QLineEdit *field = m_fields.value(objectName))
        ChangedOnly::setText(field, text); // reaches the store through the field
    else
        m_values.texts[objectName] = text;
}

void TForm4::applyAutomaticYearAndDate(const QDate &today)
{
    const AutomaticDates::YearAndDate automatic = AutomaticDates::of(m_values, today);
    setValue(QStringLiteral("EdButceYili"), automatic.year);
    setValue(QStringLiteral("EdTarih"), automatic.date);
}
