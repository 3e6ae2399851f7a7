#pragma once

#include <QDialog>

// A dialog that the program creates at start and keeps for the whole run, but
// whose widgets are built only when it is first shown: a start then pays
// nothing for a window the user may never open. Its values live in plain
// data from the start; the widgets show and edit them once built.
class LazyDialog : public QDialog
{
    Q_OBJECT

public:
    // Builds the widgets now, if they are not built yet.
    void ensureBuilt();
    bool isBuilt() const { return m_built; }

    void setVisible(bool visible) override;

protected:
    using QDialog::QDialog;

    // Called once, before the first show or by ensureBuilt().
    virtual void buildWidgets() = 0;

private:
    bool m_built = false;
};
