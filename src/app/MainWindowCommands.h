#pragma once

#include <QKeySequence>
#include <QList>

class QAction;
class QToolBar;
class TForm1;
class WebLinkLabel;

// The main window's menu bar MainMenu1 and tool bar ToolBar1, built from one
// table each: names, captions, shortcuts, hints and pictures, and the
// window's handler or data-set action behind every item.
namespace MainWindowCommands {

// Returns the shortcuts of the menu's items, which take their keys before
// any field of the window.
QList<QKeySequence> buildMenu(TForm1 &window, QAction *editAction, QAction *postAction);

// The tool bar ends with the web link Label43, which it returns.
WebLinkLabel *buildToolBar(TForm1 &window, QAction *editAction, QAction *postAction);

} // namespace MainWindowCommands
