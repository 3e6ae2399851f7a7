#pragma once

#include "base/ScopedOverride.h"

#include <QDialog>

#include <functional>

class QTextBrowser;

// The program's help viewer: shows the help document that lies next to the
// program, at its contents or at a topic by number. Topic n is the anchor
// "topic-n" of the document.
class HelpViewer : public QDialog
{
    Q_OBJECT

public:
    static void showContents(QWidget *caller);
    static void showTopic(int topic, QWidget *caller);

    // Tests see the requests instead of a window while the override lives:
    // topic 0 means the contents.
    using RequestHandler = std::function<void(int topic)>;
    [[nodiscard]] static ScopedOverride<RequestHandler> overrideRequestHandler(RequestHandler handler);

    static QString documentPath();

private:
    explicit HelpViewer(QWidget *parent);
    void open(int topic);
    static void request(int topic, QWidget *caller);

    QTextBrowser *m_browser;
};
