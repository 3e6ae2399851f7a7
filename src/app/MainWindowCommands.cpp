#include "app/MainWindowCommands.h"

#include "app/TForm1.h"
#include "base/ApplicationInfo.h"
#include "base/WindowsColour.h"
#include "controls/WebLinkLabel.h"
#include "desktop/HintText.h"
#include "desktop/ToolIcons.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace MainWindowCommands {

namespace {

using Handler = void (TForm1::*)();
using Picture = ToolIcons::Picture;

// What a command does: run a handler of the window, or trigger one of the
// two data-set actions and follow its enabled state.
enum class Action { None, Edit, Post };

struct MenuItem
{
    const char16_t *menu; // the top-level menu it belongs to
    const char16_t *submenu = nullptr; // and the submenu, if any
    const char *name;
    const char16_t *caption; // a trailing "&" marks no mnemonic and is not shown
    QKeySequence shortcut = {};
    const char16_t *hint = nullptr; // menu hints have no short part
    std::optional<Picture> picture = std::nullopt;
    Handler handler = nullptr;
    Action action = Action::None;
    bool separatorBefore = false;
};

const QList<MenuItem> &menuItems()
{
    static const QList<MenuItem> items = {
        {.menu = u"&Dosya", .name = "Yeni1", .caption = u"Yeni&", .shortcut = QKeySequence(Qt::CTRL | Qt::Key_N),
         .hint = u"Yeni eczane ya da hastane ekle", .picture = Picture::New, .handler = &TForm1::ToolButton1Click},
        {.menu = u"&Dosya", .name = "Kaydet1", .caption = u"Kaydet&", .shortcut = QKeySequence(Qt::CTRL | Qt::Key_S),
         .hint = u"Değişiklikleri kaydet", .picture = Picture::Save, .action = Action::Post},
        {.menu = u"&Dosya", .name = "Belgeler1", .caption = u"Belgeler ...&", .shortcut = QKeySequence(Qt::Key_F6),
         .hint = u"Düzenlenen ödeme belgelerinin kaydını aç", .picture = Picture::Orders,
         .handler = &TForm1::Belgeler1Click, .separatorBefore = true},
        {.menu = u"&Dosya", .submenu = u"Veritabanı İşlemleri&", .name = "VeritabaniYedekle1",
         .caption = u"Yedekle ...&", .shortcut = QKeySequence(Qt::Key_F8),
         .hint = u"Veritabanı yedekleme penceresini aç", .picture = Picture::Backup,
         .handler = &TForm1::VeritabaniYedekle1Click, .separatorBefore = true},
        {.menu = u"&Dosya", .submenu = u"Veritabanı İşlemleri&", .name = "VeritabanBakmOnarm1",
         .caption = u"Bakım ve Onarım ...&", .shortcut = QKeySequence(Qt::Key_F9),
         .hint = u"Veritabanı bakım ve onarım sihirbazını aç", .picture = Picture::Repair,
         .handler = &TForm1::VeritabanBakmOnarm1Click},
        {.menu = u"&Dosya", .submenu = u"Veritabanı İşlemleri&", .name = "EskiVeritabanindanAktar1",
         .caption = u"Eski Veritabanından Aktar ...&",
         .hint = u"Eski programın veritabanındaki kişileri bu veritabanına ekle",
         .handler = &TForm1::EskiVeritabanindanAktar1Click, .separatorBefore = true},
        {.menu = u"&Dosya", .submenu = u"Veritabanı İşlemleri&", .name = "EskiProgramdanAktar1",
         .caption = u"Eski Programdan Aktar ...&",
         .hint = u"Eski programın klasöründen ayar dosyasını ve veritabanını getir",
         .handler = &TForm1::EskiProgramdanAktar1Click},
        {.menu = u"&Dosya", .name = "DisaAktar1", .caption = u"Dışa Aktar ...&",
         .hint = u"Seçili türün kişilerini CSV dosyasına yaz", .handler = &TForm1::DisaAktar1Click,
         .separatorBefore = true},
        {.menu = u"&Dosya", .name = "IceAktar1", .caption = u"İçe Aktar ...&",
         .hint = u"CSV dosyasındaki kişileri seçili türün listesine ekle", .handler = &TForm1::IceAktar1Click},
        {.menu = u"&Dosya", .name = "Kapat1", .caption = u"Kapat&", .shortcut = QKeySequence(Qt::Key_Escape),
         .picture = Picture::Exit, .handler = &TForm1::Kapat1Click, .separatorBefore = true},
        {.menu = u"D&üzen", .name = "Dzenle1", .caption = u"Düzenle&", .shortcut = QKeySequence(Qt::CTRL | Qt::Key_D),
         .hint = u"Aktif kayıt üzerinde düzenleme yap", .picture = Picture::Edit, .action = Action::Edit},
        {.menu = u"D&üzen", .name = "Sil1", .caption = u"Sil&", .shortcut = QKeySequence(Qt::CTRL | Qt::Key_Delete),
         .hint = u"Aktif kaydı sil", .picture = Picture::Delete, .handler = &TForm1::ToolButton2Click},
        {.menu = u"&Sabitler", .name = "KurummzaBilgileri1", .caption = u"Kurum - İmza Bilgileri ...&",
         .shortcut = QKeySequence(Qt::Key_F4), .hint = u"İmza bilgileri penceresi",
         .handler = &TForm1::KurummzaBilgileri1Click},
        {.menu = u"&Sabitler", .name = "Kodlar1", .caption = u"K.F.E Kodları ...&",
         .shortcut = QKeySequence(Qt::Key_F5), .hint = u"Kod girişleri", .handler = &TForm1::Kodlar1Click},
        {.menu = u"&Sabitler", .name = "Ayarlar1", .caption = u"Ayarlar ...&", .shortcut = QKeySequence(Qt::Key_F7),
         .hint = u"Ayar penceresini aç", .picture = Picture::Settings, .handler = &TForm1::Ayarlar1Click,
         .separatorBefore = true},
        {.menu = u"&Yardım", .name = "Yardm1", .caption = u"Yardım ...&", .shortcut = QKeySequence(Qt::Key_F1),
         .hint = u"Yardım penceresini aç", .picture = Picture::Help, .handler = &TForm1::Yardm1Click},
        {.menu = u"&Yardım", .name = "MnHakkinda", .caption = u"Hakkında ...&", .handler = &TForm1::MnHakkindaClick,
         .separatorBefore = true},
    };
    return items;
}

struct ToolButton
{
    const char *name;
    const char16_t *caption;
    const char16_t *hint; // short part for the tool tip, long part for the hint line
    Picture picture;
    Handler handler = nullptr;
    Action action = Action::None;
    bool separatorBefore = false;
};

const QList<ToolButton> &toolButtons()
{
    static const QList<ToolButton> buttons = {
        {.name = "ToolButton1", .caption = u"Yeni", .hint = u"Yeni Ekle (Ctrl+N)|Yeni eczane ya da hastane ekle",
         .picture = Picture::New, .handler = &TForm1::ToolButton1Click},
        {.name = "ToolButton2", .caption = u"Sil", .hint = u"Sil (Ctrl+Del)|Aktif kaydı sil",
         .picture = Picture::Delete, .handler = &TForm1::ToolButton2Click},
        // Bound to the actions for their state, keeping their own caption and hint.
        {.name = "ToolButton3", .caption = u" Düzenle ", .hint = u"Düzenle (Ctrl+D)|Aktif kayıt üzerinde düzenleme yap",
         .picture = Picture::Edit, .action = Action::Edit},
        {.name = "ToolButton4", .caption = u"Kaydet", .hint = u"Kaydet (Ctrl+S)|Değişiklikleri kaydet",
         .picture = Picture::Save, .action = Action::Post},
        {.name = "ToolButton14", .caption = u"Belgeler",
         .hint = u"Belgeler (F6)|Düzenlenen ödeme belgelerinin kaydını aç: bul, yeniden yazdır, aktar",
         .picture = Picture::Orders, .handler = &TForm1::Belgeler1Click, .separatorBefore = true},
        {.name = "ToolButton12", .caption = u"Yedekle",
         .hint = u"Veritabanını Yedekle (F8)|Veritabanı yedekleme penceresini aç", .picture = Picture::Backup,
         .handler = &TForm1::VeritabaniYedekle1Click, .separatorBefore = true},
        {.name = "ToolButton13", .caption = u"Onar",
         .hint = u"Veritabanı Onarım (F9)|Veritabanı bakım ve onarım sihirbazını başlat", .picture = Picture::Repair,
         .handler = &TForm1::VeritabanBakmOnarm1Click},
        {.name = "ToolButton7", .caption = u"Ayar", .hint = u"Ayarlar (F7)|Ayarlar penceresini aç",
         .picture = Picture::Settings, .handler = &TForm1::Ayarlar1Click, .separatorBefore = true},
        {.name = "BtnHelp", .caption = u"Yardım", .hint = u"Yardım (F1)|Yardım penceresini aç",
         .picture = Picture::Help, .handler = &TForm1::Yardm1Click, .separatorBefore = true},
        {.name = "ToolButton6", .caption = u"Çıkış", .hint = u"Kapat (ESC)", .picture = Picture::Exit,
         .handler = &TForm1::Kapat1Click, .separatorBefore = true},
    };
    return buttons;
}

// "Yeni&" shows as "Yeni": a trailing "&" marks no mnemonic.
QString menuCaption(const char16_t *caption)
{
    const QString text = QString::fromUtf16(caption);
    return text.endsWith(QLatin1Char('&')) ? text.chopped(1) : text;
}

QAction *actionFor(Action action, QAction *editAction, QAction *postAction)
{
    switch (action) {
    case Action::Edit:
        return editAction;
    case Action::Post:
        return postAction;
    case Action::None:
        break;
    }
    return nullptr;
}

} // namespace

QList<QKeySequence> buildMenu(TForm1 &window, QAction *editAction, QAction *postAction)
{
    QMenuBar *bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QList<QKeySequence> shortcuts;
    QMenu *menu = nullptr;
    QMenu *submenu = nullptr;
    for (const MenuItem &item : menuItems()) {
        const QString menuTitle = QString::fromUtf16(item.menu);
        if (!menu || menu->title() != menuTitle) {
            menu = bar->addMenu(menuTitle);
            submenu = nullptr;
        }
        if (item.separatorBefore)
            (item.submenu && submenu ? submenu : menu)->addSeparator();
        QMenu *target = menu;
        if (item.submenu) {
            if (!submenu) {
                submenu = menu->addMenu(menuCaption(item.submenu));
                submenu->menuAction()->setObjectName(QStringLiteral("Veritabanlemleri1"));
            }
            target = submenu;
        } else {
            submenu = nullptr;
        }

        QAction *menuItem = target->addAction(menuCaption(item.caption));
        menuItem->setObjectName(QString::fromLatin1(item.name));
        if (!item.shortcut.isEmpty()) {
            menuItem->setShortcut(item.shortcut);
            shortcuts.append(item.shortcut);
        }
        if (item.hint)
            HintText::applyToMenuItem(menuItem, QString::fromUtf16(item.hint));
        if (item.picture)
            menuItem->setIcon(ToolIcons::icon(*item.picture));
        if (QAction *bound = actionFor(item.action, editAction, postAction)) {
            QObject::connect(menuItem, &QAction::triggered, bound, &QAction::trigger);
            QObject::connect(bound, &QAction::enabledChanged, menuItem, &QAction::setEnabled);
            menuItem->setEnabled(bound->isEnabled());
        } else {
            QObject::connect(menuItem, &QAction::triggered, &window, item.handler);
        }
    }
    return shortcuts;
}

WebLinkLabel *buildToolBar(TForm1 &window, QAction *editAction, QAction *postAction)
{
    QToolBar *bar = window.addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(48);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);

    for (const ToolButton &look : toolButtons()) {
        if (look.separatorBefore)
            bar->addSeparator();
        auto *button = new QToolButton(bar);
        button->setObjectName(QString::fromLatin1(look.name));
        button->setText(QString::fromUtf16(look.caption));
        button->setIcon(ToolIcons::icon(look.picture));
        button->setIconSize(QSize(20, 20));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumSize(52, 36);
        HintText::apply(button, QString::fromUtf16(look.hint));
        bar->addWidget(button);
        if (QAction *bound = actionFor(look.action, editAction, postAction)) {
            QObject::connect(button, &QToolButton::clicked, bound, &QAction::trigger);
            QObject::connect(bound, &QAction::enabledChanged, button, &QToolButton::setEnabled);
            button->setEnabled(bound->isEnabled());
        } else {
            QObject::connect(button, &QToolButton::clicked, &window, look.handler);
        }
    }
    bar->addSeparator();

    // The web link fills the right end of the bar.
    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    auto *link = new WebLinkLabel(ApplicationInfo::makerWebAddress(), bar);
    link->setObjectName(QStringLiteral("Label43"));
    link->setFixedWidth(221);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(10);
    font.setBold(true);
    link->setFont(font);
    link->setNormalColours(QColor(192, 192, 192), WindowsColour::buttonFace());
    link->setHoverColours(Qt::yellow, Qt::black);
    HintText::apply(link, QStringLiteral("Web Sitesine Git|Üreticinin web sitesi"));
    bar->addWidget(link);
    return link;
}

} // namespace MainWindowCommands
