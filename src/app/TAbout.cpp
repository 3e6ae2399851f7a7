#include "app/TAbout.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"
#include "controls/WebLinkLabel.h"
#include "desktop/FixedSizeDialog.h"
#include "desktop/HintText.h"
#include "desktop/ToolIcons.h"

#include <QDir>
#include <QLabel>
#include <QPainter>

namespace {

// The title in bold 10 pt with a grey copy two pixels right and down under it.
class ShadowTitle : public QWidget
{
public:
    explicit ShadowTitle(const QString &text, QWidget *parent)
        : QWidget(parent)
        , m_text(text)
    {
        setObjectName(QStringLiteral("Label1"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(10);
        font.setBold(true);
        painter.setFont(font);
        const QRect area = rect().adjusted(0, 0, -2, -2);
        painter.setPen(Qt::gray);
        painter.drawText(area.translated(2, 2), Qt::AlignCenter, m_text);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
};

WebLinkLabel *makeLink(const QString &address, const QString &name, QWidget *parent)
{
    auto *link = new WebLinkLabel(address, parent);
    link->setObjectName(name);
    QFont font = link->font();
    font.setBold(true);
    link->setFont(font);
    link->setNormalColours(Qt::blue, QColor());
    link->setHoverColours(Qt::red, QColor());
    HintText::apply(link, QStringLiteral("Siteye git"));
    return link;
}

} // namespace

TAbout::TAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("Program Hakkında"));
    FixedSizeDialog::apply(this, QSize(330, 187));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(ToolIcons::aboutPicture());
    picture->setScaledContents(true);
    picture->setGeometry(10, 4, 104, 180);

    auto *upper = new QFrame(this);
    upper->setObjectName(QStringLiteral("Panel1"));
    upper->setFrameShape(QFrame::StyledPanel);
    upper->setFrameShadow(QFrame::Sunken);
    upper->setGeometry(122, 10, 198, 80);
    auto *title = new ShadowTitle(ApplicationInfo::mainWindowCaption(), upper);
    title->setGeometry(4, 4, 190, 44);

    // Under the title, small: where this copy keeps its database and
    // settings, the program's own folder or the user's data folder (an
    // installed program); the whole path as the hint.
    const ProgramFolder::Choice folder = ProgramFolder::choice();
    const QString path = QDir::toNativeSeparators(folder.path);
    auto *folderLabel = new QLabel(upper);
    folderLabel->setObjectName(QStringLiteral("FolderLabel"));
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSize(7);
    folderLabel->setFont(small);
    folderLabel->setAlignment(Qt::AlignCenter);
    folderLabel->setGeometry(4, 46, 190, 30);
    HintText::apply(folderLabel, path);
    folderLabel->setText(ProgramFolder::kindName(folder.kind) + QStringLiteral(":\n") +
                         QFontMetrics(small).elidedText(path, Qt::ElideMiddle, 186));

    auto *lower = new QFrame(this);
    lower->setObjectName(QStringLiteral("Panel2"));
    lower->setFrameShape(QFrame::StyledPanel);
    lower->setFrameShadow(QFrame::Sunken);
    lower->setGeometry(122, 96, 198, 81);
    m_siteLink = makeLink(ApplicationInfo::makerWebAddress(), QStringLiteral("Label2"), lower);
    m_siteLink->setGeometry(4, 12, 190, 24);
    m_supportLink = makeLink(ApplicationInfo::makerSupportAddress(), QStringLiteral("Label3"), lower);
    m_supportLink->setGeometry(4, 44, 190, 24);
}
