#include "app/TFrmAyar.h"

#include "base/ProfileFile.h"
#include "controls/ColourSwatch.h"
#include "controls/TAmountEdit.h"
#include "desktop/FixedSizeDialog.h"
#include "desktop/HelpButton.h"
#include "desktop/HelpViewer.h"
#include "desktop/HintText.h"
#include "desktop/MessageBoxes.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace {

constexpr int kClientWidth = 402;
constexpr int kClientHeight = 234;
constexpr int kBorder = 5;
constexpr int kPagesHeight = 193;
constexpr int kButtonTop = kBorder + kPagesHeight + 6;
constexpr int kButtonHeight = 25;
constexpr int kHelpTopic = 2;

struct SwatchLook
{
    const char *name;
    const char16_t *caption;
};

// Left column first, top to bottom, in MainWindowColours order.
constexpr SwatchLook kSwatchLooks[] = {
    {"Shape1", u"Liste satırı alternatif renk"},
    {"Shape2", u"Liste seçim rengi"},
    {"Shape3", u"Liste seçili yazı rengi"},
    {"Shape4", u"Zemin rengi"},
    {"Shape5", u"Font rengi"},
    {"Shape7", u"Arkaplan rengi"},
};

} // namespace

TFrmAyar::TFrmAyar(QWidget *parent)
    : LazyDialog(parent)
    , m_chooser([](QColorDialog &dialog) { return dialog.exec() == QDialog::Accepted; })
{
    setObjectName(QStringLiteral("FrmAyar"));
    setWindowTitle(QStringLiteral("Ayarlar"));
    FixedSizeDialog::apply(this, QSize(kClientWidth, kClientHeight));
    FormCreate();
}

void TFrmAyar::buildWidgets()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(kBorder, kBorder, kClientWidth - 2 * kBorder, kPagesHeight);
    auto *printing = new QWidget;
    printing->setObjectName(QStringLiteral("TabSheet1"));
    m_pages->addTab(printing, QStringLiteral("Yazdırma/Damga Vergisi"));
    buildPrintingPage(printing);
    auto *colours = new QWidget;
    colours->setObjectName(QStringLiteral("TabSheet2"));
    m_pages->addTab(colours, QStringLiteral("Renkler"));
    buildColoursPage(colours);
    buildButtons();

    m_colourDialog = new QColorDialog(this);
    m_colourDialog->setObjectName(QStringLiteral("CDlg"));
}

void TFrmAyar::buildPrintingPage(QWidget *page)
{
    m_previewCheck = new QCheckBox(QStringLiteral("Yazdırma butonuna basıldığında 'ÖNİZLEME PENCERESİ' gösterilsin"), page);
    m_previewCheck->setObjectName(QStringLiteral("ChkYazdir"));
    m_previewCheck->setGeometry(12, 12, 366, 20);

    m_approvalDatesCheck = new QCheckBox(QStringLiteral("Onay bölümlerinde tarihler otm. gösterilsin"), page);
    m_approvalDatesCheck->setObjectName(QStringLiteral("ChkTarih"));
    m_approvalDatesCheck->setGeometry(12, 38, 366, 20);

    constexpr int kFieldLeft = 262;
    auto *label1 = new QLabel(QStringLiteral("Damga vergisi Kesinti Tutarı Belirle (1000'de)"), page);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(12, 68, kFieldLeft - 18, 21);
    m_stampDutyRateEdit = new TAmountEdit(page);
    m_stampDutyRateEdit->setObjectName(QStringLiteral("Edit1"));
    m_stampDutyRateEdit->configureAsAmount();
    m_stampDutyRateEdit->setGeometry(kFieldLeft, 68, 39, 21);
    label1->setBuddy(m_stampDutyRateEdit);

    auto *label8 = new QLabel(QStringLiteral("Para Birimi Belirle"), page);
    label8->setObjectName(QStringLiteral("Label8"));
    label8->setGeometry(12, 98, kFieldLeft - 18, 22);
    m_currencyChoice = new QComboBox(page);
    m_currencyChoice->setObjectName(QStringLiteral("CPara"));
    m_currencyChoice->addItems({QStringLiteral("YTL - YKr"), QStringLiteral("TL - Kr")});
    m_currencyChoice->setGeometry(kFieldLeft, 98, 100, 22);
    label8->setBuddy(m_currencyChoice);

    auto *guardLabel = new QLabel(QStringLiteral("Mükerrer ödeme uyarısı:"), page);
    guardLabel->setObjectName(QStringLiteral("LabelMukerrer"));
    guardLabel->setGeometry(12, 128, kFieldLeft - 18, 22);
    m_duplicateGuardDays = new QSpinBox(page);
    m_duplicateGuardDays->setObjectName(QStringLiteral("SpinMukerrer"));
    m_duplicateGuardDays->setRange(0, Preferences::kMostDuplicateGuardDays);
    m_duplicateGuardDays->setSuffix(QStringLiteral(" gün"));
    m_duplicateGuardDays->setSpecialValueText(QStringLiteral("Kapalı"));
    m_duplicateGuardDays->setGeometry(kFieldLeft, 128, 100, 22);
    HintText::apply(m_duplicateGuardDays,
                    QStringLiteral("Mükerrer ödeme uyarısı|Aynı türde, aynı kişiye, aynı tutarda bir belge bu kadar "
                                   "gün içinde düzenlenmişse YAZDIR önce sorar; 0 gün: sormaz"));
    guardLabel->setBuddy(m_duplicateGuardDays);

    showPreferences(m_confirmed);
}

void TFrmAyar::buildColoursPage(QWidget *page)
{
    constexpr int kColumnLefts[] = {16, 200};
    constexpr int kFirstTop = 20;
    constexpr int kRowPitch = 36;
    for (std::size_t i = 0; i < m_swatches.size(); ++i) {
        const int left = kColumnLefts[i / 3];
        const int top = kFirstTop + int(i % 3) * kRowPitch;
        auto *swatch = new ColourSwatch(page);
        swatch->setObjectName(QString::fromLatin1(kSwatchLooks[i].name));
        swatch->move(left, top);
        auto *caption = new QLabel(QString::fromUtf16(kSwatchLooks[i].caption), page);
        caption->setGeometry(left + 26, top, 150, swatch->height());
        swatch->setCaption(caption);
        connect(swatch, &ColourSwatch::pressed, this, [this, swatch] { ShapeMouseDown(swatch); });
        m_swatches[i] = swatch;
    }
    setSwatches(m_swatchColours);
}

void TFrmAyar::buildButtons()
{
    QToolButton *help = HelpButton::create(this, QRect(kBorder, kButtonTop, kButtonHeight, kButtonHeight),
                                           QStringLiteral("Yardım (F1)|Konu ile ilgili yardımı görüntüle"));
    connect(help, &QToolButton::clicked, this, &TFrmAyar::SpeedButton1Click);

    struct ButtonLook
    {
        const char *name;
        QString caption;
        QString hint;
        QRect geometry;
        void (TFrmAyar::*handler)();
    };
    const ButtonLook buttons[] = {
        {"BtnRenk", QStringLiteral("Ayarları Sıfırla"),
         QStringLiteral("Sıfırla |Ayarları geri al ve orijinal ayarlara dön"),
         QRect(kBorder + kButtonHeight + 6, kButtonTop, 110, kButtonHeight), &TFrmAyar::BtnRenkClick},
        {"Button2", QStringLiteral("İptal"), QStringLiteral("İptal Et|Değişiklikleri iptal et"),
         QRect(kClientWidth - kBorder - 2 * 75 - 6, kButtonTop, 75, kButtonHeight), &TFrmAyar::Button2Click},
        {"Button1", QStringLiteral("Tamam"), QStringLiteral("Onayla |Değişiklikleri onayla"),
         QRect(kClientWidth - kBorder - 75, kButtonTop, 75, kButtonHeight), &TFrmAyar::Button1Click},
    };
    for (const ButtonLook &look : buttons) {
        auto *button = new QPushButton(look.caption, this);
        button->setObjectName(QString::fromLatin1(look.name));
        button->setGeometry(look.geometry);
        button->setFocusPolicy(Qt::NoFocus);
        // Enter in a field must not reset or close the dialog behind the user's back.
        button->setAutoDefault(false);
        HintText::apply(button, look.hint);
        connect(button, &QPushButton::clicked, this, look.handler);
    }
}

long double TFrmAyar::stampDutyRate() const
{
    return preferences().stampDutyRate();
}

int TFrmAyar::currencyChoice() const
{
    return preferences().currencyChoice;
}

bool TFrmAyar::previewBeforePrinting() const
{
    return preferences().previewBeforePrinting;
}

bool TFrmAyar::fillApprovalDates() const
{
    return preferences().fillApprovalDates;
}

int TFrmAyar::duplicateGuardDays() const
{
    return preferences().duplicateGuardDays;
}

Preferences TFrmAyar::preferences() const
{
    if (!isBuilt())
        return m_confirmed;
    return {m_previewCheck->isChecked(), m_approvalDatesCheck->isChecked(), m_stampDutyRateEdit->text(),
            m_currencyChoice->currentIndex(), m_duplicateGuardDays->value()};
}

void TFrmAyar::showPreferences(const Preferences &preferences)
{
    if (!isBuilt())
        return;
    m_previewCheck->setChecked(preferences.previewBeforePrinting);
    m_approvalDatesCheck->setChecked(preferences.fillApprovalDates);
    m_stampDutyRateEdit->setText(preferences.stampDutyRateText);
    m_currencyChoice->setCurrentIndex(preferences.currencyChoice);
    m_duplicateGuardDays->setValue(preferences.duplicateGuardDays);
}

void TFrmAyar::setSwatches(const MainWindowColours &colours)
{
    m_swatchColours = colours;
    if (!isBuilt())
        return;
    const qint32 values[] = {colours.gridAlternative, colours.gridSelect, colours.gridSelectText,
                             colours.edits, colours.editsFont, colours.background};
    for (std::size_t i = 0; i < m_swatches.size(); ++i)
        m_swatches[i]->setColourValue(values[i]);
}

MainWindowColours TFrmAyar::swatches() const
{
    if (!isBuilt())
        return m_swatchColours;
    MainWindowColours colours;
    colours.gridAlternative = m_swatches[0]->colourValue();
    colours.gridSelect = m_swatches[1]->colourValue();
    colours.gridSelectText = m_swatches[2]->colourValue();
    colours.edits = m_swatches[3]->colourValue();
    colours.editsFont = m_swatches[4]->colourValue();
    colours.background = m_swatches[5]->colourValue();
    return colours;
}

void TFrmAyar::setColourChooser(ColourChooser chooser)
{
    m_chooser = std::move(chooser);
}

void TFrmAyar::FormCreate()
{
    readPreferences();
}

void TFrmAyar::readPreferences()
{
    Preferences read = m_confirmed;
    PreferenceSettings::load(ProfileFile(), read);
    // Every choice but 0 means "TL - Kr": the list shows it so, rather than
    // as an empty box.
    read.currencyChoice = read.currencyChoice == 0 ? 0 : 1;
    m_confirmed = read;
    showPreferences(read);
}

void TFrmAyar::ShapeMouseDown(ColourSwatch *swatch)
{
    // The chooser remembers its own last colour, not the swatch's.
    m_colourDialog->setCurrentColor(m_lastChosen);
    if (!m_chooser(*m_colourDialog))
        return;
    m_lastChosen = m_colourDialog->currentColor();
    swatch->setColourValue(WindowsColour::fromQColor(m_lastChosen));
}

void TFrmAyar::SpeedButton1Click()
{
    HelpViewer::showTopic(kHelpTopic, this);
}

void TFrmAyar::BtnRenkClick()
{
    setSwatches(MainWindowColours());
    showPreferences(PreferenceSettings::reset(preferences()));
}

void TFrmAyar::Button2Click()
{
    readPreferences();
    reject();
}

void TFrmAyar::Button1Click()
{
    ProfileFile file;
    if (const Result<> saved = PreferenceSettings::save(file, preferences()); saved.failed()) {
        // Nothing is applied and the dialog stays open with the user's values.
        MessageBoxes::showError(this, saved.message());
        return;
    }
    m_confirmed = preferences();
    emit coloursConfirmed(swatches());
    accept();
}

void TFrmAyar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        SpeedButton1Click();
        return;
    }
    LazyDialog::keyPressEvent(event);
}

void TFrmAyar::done(int result)
{
    LazyDialog::done(result);
    emit worksheetsClearRequested();
}
