#pragma once

#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

// The program's file dialogs: Qt's own (not the desktop's), so that they look
// and speak the same on every desktop, in Turkish throughout. Where Qt's
// Turkish translation has no word (a folder's type is "Folder") or the file
// list formats with the system's locale (dates like "10 Dec 2026"), the list
// says it in Turkish itself: "Klasör", "PDF Dosyası", "10.12.2026 14:30".
namespace FileChooser {

struct Request
{
    QString caption; // "PDF olarak kaydet"
    QString filter; // "PDF belgeleri (*.pdf)"
    QString suffix; // "pdf": added to a name given without one
    bool save = true;
    QString start; // the file suggested (save) or the folder opened in (open)
    bool folder = false; // a folder is chosen, not a file (open only)
};

// The dialog, ready to be shown.
std::unique_ptr<QFileDialog> dialogFor(const Request &request, QWidget *parent);

// Shows it modally: the file chosen, empty when cancelled.
QString ask(const Request &request, QWidget *parent);

} // namespace FileChooser
