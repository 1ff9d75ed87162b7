#include "shell/GeneralPrincipal.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/BarraOperaciones.h"
#include "shell/frmMain.h"
#include "shell/frmObraSocial.h"
#include "shell/modVentanas.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>

namespace General {

namespace {
const QString kOrigenCarpeta = QStringLiteral("Quorvan.ValidarDirectorioTrabajo");

const QStringList kMenusBloqueados = {
    QStringLiteral("mnuVerificar"), QStringLiteral("mnuInformar"),      QStringLiteral("mnuInternaciones"),
    QStringLiteral("mnuOdontologia"), QStringLiteral("mnuInforme"),     QStringLiteral("mnuReportes"),
    QStringLiteral("mnuActualizacion"), QStringLiteral("mnuAcerca"),    QStringLiteral("mnuConfigurar"),
    QStringLiteral("mnuCierres"),     QStringLiteral("mnuMedicamentos")};

// The side bar's groups in the order of BarraOperaciones::Grupo.
const QStringList kGruposBarra = {QStringLiteral("cmdVerificar"),   QStringLiteral("cmdInformar"),
                                  QStringLiteral("cmdInternacion"), QStringLiteral("cmdOdontologia"),
                                  QStringLiteral("cmdCierre"),      QStringLiteral("cmdMedicamento")};

const QStringList kGruposLaterales = {QStringLiteral("cmdInformar"), QStringLiteral("cmdInternacion"),
                                      QStringLiteral("cmdOdontologia"), QStringLiteral("cmdVerificar"),
                                      QStringLiteral("cmdCierre"), QStringLiteral("cmdMedicamento")};
}

QString TituloPrincipal(const QString& lineaObraSocial, qint16 terminal)
{
    return Dialogs::kAppTitle + QStringLiteral(" - ") + lineaObraSocial + QStringLiteral(" [Term: ") +
           QString::number(terminal) + QLatin1Char(']');
}

void ActualizarTituloPrincipal()
{
    if (frmMain* m = frmMain::Instancia())
        m->setWindowTitle(TituloPrincipal(modVentanas::LineaObraSocialSeleccionada(), NumeroTerminal));
}

bool BotonLateralHabilitado(const QString& grupo, int indice, bool habilitar, bool obraSocialOnLine)
{
    const int g = kGruposBarra.indexOf(grupo);
    const bool soloOnLine =
        g >= 0 && BarraOperaciones::BotonesSoloEnLinea().contains({BarraOperaciones::Grupo(g), indice});
    return habilitar && (!soloOnLine || obraSocialOnLine);
}

namespace {
bool g_MenuHabilitado = true;
}

bool MenuPrincipalHabilitado() { return g_MenuHabilitado; }

void HabilitarMenuPrincipal(bool habilitar, const QString& texto)
{
    g_MenuHabilitado = habilitar;
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    if (!habilitar) QApplication::setOverrideCursor(Qt::WaitCursor);
    frmMain* m = frmMain::Instancia();
    if (!m) return;
    for (const QString& nombre : kMenusBloqueados)
        if (QAction* a = m->Menu(nombre)) a->setEnabled(habilitar);
    m->Panel1->setText(texto);
    // A selection during a send would close the form that waits.
    if (m->ObraSocial) m->ObraSocial->HabilitarSeleccion(habilitar);
    for (const QString& grupo : kGruposLaterales) {
        const auto botones = m->BotonesLaterales.value(grupo);
        for (int i = 0; i < botones.size(); ++i)
            if (botones[i]) botones[i]->setEnabled(BotonLateralHabilitado(grupo, i, habilitar, ObraSocialOnLine));
    }
}

BloqueoPrincipal::BloqueoPrincipal(const QString& entrada)
{
    m_Menus = MenuPrincipalHabilitado();
    if (m_Menus) HabilitarMenuPrincipal(false, QString());
    frmMain* m = frmMain::Instancia();
    if (!m) return;
    if (QAction* a = m->Menu(entrada); a && a->isEnabled()) {
        a->setEnabled(false);
        m_Apagados.append(a);
    }
    // A working window's own send button is not on the menus.
    for (QMdiSubWindow* s : m->MDIArea->subWindowList()) {
        if (!s->isEnabled()) continue;
        s->setEnabled(false);
        m_Apagados.append(s);
    }
}

BloqueoPrincipal::~BloqueoPrincipal()
{
    for (const QPointer<QObject>& o : m_Apagados) {
        if (auto* a = qobject_cast<QAction*>(o.data())) a->setEnabled(true);
        else if (auto* w = qobject_cast<QWidget*>(o.data())) w->setEnabled(true);
    }
    if (m_Menus) HabilitarMenuPrincipal(true, QString());
}

QStringList FormulariosTrabajo()
{
    // The prescription form closes too: two working windows never share TransaccionActual.
    return {QStringLiteral("frmInicio"),          QStringLiteral("frmCierres"),
            QStringLiteral("frmEmuladorPOS"),     QStringLiteral("frmOSGenerica"),
            QStringLiteral("frmHistoriaClinica"), QStringLiteral("frmExportarDatos"),
            QStringLiteral("frmVademecum")};
}

QStringList FormulariosADescargar(const QString& nombreForm)
{
    QStringList todos = FormulariosTrabajo();
    if (nombreForm.isEmpty()) return todos;
    if (!todos.removeOne(nombreForm)) return {};
    return todos;
}

void DescargarFormularios(const QString& nombreForm)
{
    frmMain* m = frmMain::Instancia();
    if (!m) return;
    for (const QString& nombre : FormulariosADescargar(nombreForm)) m->DescargarFormulario(nombre);
}

bool ValidarDirectorioTrabajo(const QString& carpeta)
{
    if (Vb::Trim(carpeta).isEmpty()) return false;
    const QFileInfo info(carpeta);
    if (info.exists() && !info.isDir())
        throw VbError(VbError::PathFileAccess, kOrigenCarpeta,
                      QStringLiteral("La ruta del directorio de trabajo es un archivo: ") + carpeta);
    if (!info.exists()) {
        const int r = Dialogs::MsgBox(QStringLiteral("El directorio de trabajo seleccionado no es válido.\r\nDesea crearlo?"),
                                      Vbc::vbYesNo | Vbc::vbExclamation);
        if (r != Vbc::vbYes) return false;
        // Only the last level: a missing parent means a wrong path, not one to build.
        if (!QDir().mkdir(carpeta))
            throw VbError(VbError::PathNotFound, kOrigenCarpeta,
                          QStringLiteral("No se pudo crear el directorio de trabajo: ") + carpeta);
    }
    DirectorioTrabajo = Paths::WithTrailingSlash(Paths::Normalize(carpeta));
    if (gConfig) gConfig->setDirTX(QString());
    return true;
}

void RecargarListasConfiguracion()
{
    if (!gConfig) return;
    // The client's marks come from its parameter file, read only at start: keep them.
    QSet<QString> marcadas;
    if (const auto os = gConfig->ObrasSociales())
        for (const auto& o : *os)
            if (o->BitMap) marcadas.insert(QStringLiteral("%1/%2").arg(o->Empresa).arg(o->Actividad));
    gConfig->LoadPrestadores(false);
    gConfig->LoadOS();
    gConfig->LoadEfectores();
    if (const auto os = gConfig->ObrasSociales())
        for (const auto& o : *os)
            if (marcadas.contains(QStringLiteral("%1/%2").arg(o->Empresa).arg(o->Actividad))) o->BitMap = true;
}

}
