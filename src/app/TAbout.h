#pragma once

#include <QDialog>

class WebLinkLabel;

// The about box; made anew each time it is asked for.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(QWidget *parent = nullptr);

    WebLinkLabel *link(int index) const { return index == 0 ? m_siteLink : m_supportLink; }

private:
    WebLinkLabel *m_siteLink;
    WebLinkLabel *m_supportLink;
};
