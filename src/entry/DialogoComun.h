#pragma once
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QString>

// A form's file dialog as the forms use it: the name chosen, its title (name without folder)
// and the filter of the last opening. It opens through the dialogs facade, so tests script it.
class DialogoComun {
public:
    QString FileName;
    QString FileTitle;
    QString Filter;
    QString DialogTitle;
    QString InitDir;

    // Forgets the last choice.
    void Limpiar()
    {
        FileName.clear();
        FileTitle.clear();
    }
    // A file to open; false (and nothing chosen) when the user cancels.
    bool ShowOpen() { return Elegido(Dialogs::OpenFileName(DialogTitle, InitDir, Filter)); }
    // A file to save.
    bool ShowSave() { return Elegido(Dialogs::SaveFileName(DialogTitle, InitDir, Filter)); }

private:
    bool Elegido(const QString& nombre)
    {
        FileName = nombre;
        FileTitle = nombre.isEmpty() ? QString() : QFileInfo(nombre).fileName();
        return !nombre.isEmpty();
    }
};
