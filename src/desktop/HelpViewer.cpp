#include "desktop/HelpViewer.h"

#include "base/ApplicationInfo.h"
#include "base/ProgramFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
HelpViewer::RequestHandler &requestHandler()
{
    static HelpViewer::RequestHandler installed;
    return installed;
}

QPointer<HelpViewer> &sharedViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}
} // namespace

HelpViewer::HelpViewer(QWidget *parent)
    : QDialog(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Mirvasel Belgesi - Yardım"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(true);
    resize(640, 520);
}

QString HelpViewer::documentPath()
{
    return ProgramFolder::installedFile(ApplicationInfo::helpFileName());
}

void HelpViewer::open(int topic)
{
    const QString path = documentPath();
    if (!QFileInfo::exists(path)) {
        m_browser->setHtml(QStringLiteral("<p>Yardım dosyası bulunamadı:</p><p><b>%1</b></p>")
                               .arg(path.toHtmlEscaped()));
        return;
    }
    QUrl url = QUrl::fromLocalFile(path);
    if (topic > 0)
        url.setFragment(QStringLiteral("topic-%1").arg(topic));
    m_browser->setSource(url);
    if (topic > 0)
        m_browser->scrollToAnchor(url.fragment());
}

void HelpViewer::request(int topic, QWidget *caller)
{
    if (requestHandler()) {
        requestHandler()(topic);
        return;
    }
    // Over a modal window the viewer must be modal too, or the modal window
    // would block it; elsewhere it stays open beside the program.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal) {
        HelpViewer viewer(modal);
        viewer.setAttribute(Qt::WA_DeleteOnClose, false);
        viewer.open(topic);
        viewer.exec();
        return;
    }
    if (!sharedViewer())
        sharedViewer() = new HelpViewer(caller ? caller->window() : nullptr);
    sharedViewer()->open(topic);
    sharedViewer()->show();
    sharedViewer()->raise();
    sharedViewer()->activateWindow();
}

void HelpViewer::showContents(QWidget *caller)
{
    request(0, caller);
}

void HelpViewer::showTopic(int topic, QWidget *caller)
{
    request(topic, caller);
}

ScopedOverride<HelpViewer::RequestHandler> HelpViewer::overrideRequestHandler(RequestHandler handler)
{
    return {requestHandler(), std::move(handler)};
}
