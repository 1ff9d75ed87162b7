#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

// The shared procedures that act on the main window as a whole, and the working-folder check.
namespace General {

// "Quorvan - <selected insurer line> [Term: <terminal>]".
QString TituloPrincipal(const QString& lineaObraSocial, qint16 terminal);
void ActualizarTituloPrincipal();

// Locks (false) or unlocks (true) the main window's menus and the side bar while a transaction
// is under way, sets the hourglass or the arrow (never stacked) and the status bar's first panel.
void HabilitarMenuPrincipal(bool habilitar, const QString& texto);
// False between HabilitarMenuPrincipal(false) and HabilitarMenuPrincipal(true).
bool MenuPrincipalHabilitado();

// For its life, the main window is locked as during a send, and so are the menu entry
// `entrada` and the open working windows: a wait that lets events run starts nothing else
// meanwhile. What was locked before stays locked afterwards.
class BloqueoPrincipal {
public:
    explicit BloqueoPrincipal(const QString& entrada);
    ~BloqueoPrincipal();
    BloqueoPrincipal(const BloqueoPrincipal&) = delete;
    BloqueoPrincipal& operator=(const BloqueoPrincipal&) = delete;

private:
    bool m_Menus = false;
    QList<QPointer<QObject>> m_Apagados;
};
// The enabled state of a side-bar button: the buttons that serve only on-line insurers are
// enabled only while the selected insurer is on-line.
bool BotonLateralHabilitado(const QString& grupo, int indice, bool habilitar, bool obraSocialOnLine);

// The working windows in the order they are closed.
QStringList FormulariosTrabajo();
// Which of them `DescargarFormularios(nombreForm)` closes: all for "", the others for one of
// them, none for any other name.
QStringList FormulariosADescargar(const QString& nombreForm);
void DescargarFormularios(const QString& nombreForm);

// Makes `carpeta` the working folder (kept with one trailing "/") and clears the configured
// trigger folder; a missing folder is created when the user agrees. False for an empty path or
// when the user declines. A path that names a file, or a folder that cannot be created, raises
// error 75 or 76 and changes nothing.
bool ValidarDirectorioTrabajo(const QString& carpeta);

// Loads gConfig's providers, insurers and effectors again after the tables were refreshed, so no
// later store writes back the lists read before; the insurers keep the client's marks.
void RecargarListasConfiguracion();

}
