// The configuration window's storing ("Aceptar"), its closing without storing, and the
// reference-table update of its "Actualizar" tab.
#include "shell/frmConfigurar.h"

#include "config/Coleccion.h"
#include "config/GeneralConfiguracion.h"
#include "config/GeneralTablas.h"
#include "config/clsConfig.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestador.h"
#include "config/modRegistry.h"
#include "engine/General.h"
#include "platform/Dialogs.h"
#include "platform/Printers.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/DirectoriosRecientes.h"
#include "shell/DisposicionPrincipal.h"
#include "shell/GeneralPrincipal.h"
#include "shell/RegistroConfiguracion.h"
#include "shell/frmMain.h"
#include "shell/modImpresoras.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

using FilasConfiguracion::Fila;

namespace {

// The window's hourglass while a handler works, back to normal however it ends.
class PunteroOcupado {
public:
    explicit PunteroOcupado(QWidget* w) : m_w(w) { m_w->setCursor(Qt::WaitCursor); }
    ~PunteroOcupado() { m_w->unsetCursor(); }
    PunteroOcupado(const PunteroOcupado&) = delete;
    PunteroOcupado& operator=(const PunteroOcupado&) = delete;

private:
    QWidget* m_w;
};

template <typename T, typename F>
std::shared_ptr<Coleccion<T>> DeFilas(const QTreeWidget* lista, F deFila)
{
    auto c = std::make_shared<Coleccion<T>>();
    for (int i = 0; i < lista->topLevelItemCount(); ++i) c->Add(deFila(frmConfigurar::LeerFila(lista->topLevelItem(i))));
    return c;
}

bool GuardarTexto(const QString& nombre, const QString& valor)
{
    return modRegistry::GuardarValorRegistro(modRegistry::REG_SZ, nombre, valor);
}

bool NombraObraSocial(const Coleccion<clsObraSocial>* obras, const QString& nombre)
{
    if (!obras) return false;
    for (const auto& os : *obras)
        if (os->Nombre.trimmed().compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool HayImpresoras()
{
    try {
        return !Printers::Names().isEmpty();
    } catch (const std::exception&) {
        return false;
    }
}

}

void frmConfigurar::HabilitarImprimir()
{
    // Ticked with no printer left, the box stays usable so the user can clear it.
    chkImprimir->setEnabled(lstImpresoras->count() > 0 || chkImprimir->isChecked());
}

void frmConfigurar::cmdAceptar_Click()
{
    using namespace General;
    EstadoConfigurar& estado = Estado();
    try {
        PunteroOcupado puntero(this);
        clsConfig& cfg = *gConfig;

        if (lvwOperaciones->topLevelItemCount() == 0) {
            Dialogs::MsgBox(QStringLiteral("No están cargadas las operaciones. No será posible trabajar con Quorvan."),
                            Vbc::vbCritical, Dialogs::kAppTitle);
            estado.ConfiguracionIncompleta = true;
            return;
        }
        cfg.setOperaciones(DeFilas<clsOperacion>(lvwOperaciones, FilasConfiguracion::OperacionDeFila));
        cfg.setDireccionTerminal(Vb::Trim(txtDireccionTerminal->text()));
        cfg.setTelefonoTerminal(Vb::Trim(txtTelefonoTerminal->text()));
        cfg.setLatitudTerminal(Vb::Trim(txtLatitud->text()));
        cfg.setLongitudTerminal(Vb::Trim(txtLongitud->text()));
        TipoIngresoAutomatico = chkIngresoAutomatico->isChecked();
        cfg.setTimer(chkTimer->isChecked());
        cfg.setDBConect(cmbDB->currentText());

        // With "/" appended a blank text would name the root, which exists and would be adopted.
        const QString texto = cboDirectorio->currentText();
        bool usable = false;
        if (Vb::Trim(texto).isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar el Directorio de Trabajo."), Vbc::vbExclamation,
                            Dialogs::kAppTitle);
        } else {
            try {
                usable = ValidarDirectorioTrabajo(DirectoriosRecientes::CarpetaTecleada(texto));
            } catch (const std::exception&) {
                estado.ConfiguracionIncompleta = true;
                throw;
            }
        }
        if (!usable) {
            estado.ConfiguracionIncompleta = true;
            return;
        }
        GuardarDirectoriosRecientes(DirectorioTrabajo);

        cfg.setImprimir(chkImprimir->isChecked());
        const QListWidgetItem* impresora = lstImpresoras->currentItem();
        const QString elegida = modImpresoras::ActivarImpresora(impresora ? impresora->text() : QString());
        if (!elegida.isEmpty()) cfg.setImpresora(elegida);
        // A terminal that does not print needs no printer.
        if (chkImprimir->isChecked() && !HayImpresoras()) {
            Dialogs::MsgBox(QStringLiteral("No existen impresoras configuradas"), Vbc::vbInformation,
                            Dialogs::kAppTitle);
            return;
        }
        if (lvwPrestadores->topLevelItemCount() == 0) {
            Dialogs::MsgBox(QStringLiteral("No existen prestadores configurados"), Vbc::vbInformation,
                            Dialogs::kAppTitle);
            estado.ConfiguracionIncompleta = true;
            return;
        }
        cfg.setPrestadores(DeFilas<clsPrestador>(lvwPrestadores, FilasConfiguracion::PrestadorDeFila));
        if (lvwEfectores->topLevelItemCount() > 0)
            cfg.setEfectores(DeFilas<clsEfector>(lvwEfectores, FilasConfiguracion::EfectorDeFila));
        if (cboDelimitadores->currentIndex() >= 0 && cboDelimitadores->currentData().isValid())
            cfg.setidDelimitador(qint16(cboDelimitadores->currentData().toInt()));

        qint32 terminal = NumeroTerminal;
        if (modRegistry::LeerValorRegistro(QStringLiteral("Terminal"), modRegistry::REG_SZ, terminal, false))
            NumeroTerminal = Vb::CInt(double(terminal));
        if (NumeroTerminal == 0) {
            NumeroTerminal = cfg.getIdTerminal(DirectorioTrabajo);
            if (!GuardarTexto(QStringLiteral("Terminal"), QString::number(NumeroTerminal)))
                Dialogs::MsgBox(QStringLiteral("No se puede guardar la configuración local de la terminal."),
                                Vbc::vbCritical, Dialogs::kAppTitle);
        }
        cfg.setIdTerminal(NumeroTerminal);
        cfg.setCopias(Vb::CInt(cmbCopias->currentText()));
        cfg.setLargohoja(Vb::CInt(cmbLargoHoja->currentText()));
        cfg.setFontName(cmbFuente->currentText().isEmpty() ? QStringLiteral("Predeterminada")
                                                           : cmbFuente->currentText());
        cfg.setFontSize(cmbTamaño->currentText().isEmpty() ? qint16(10) : Vb::CInt(cmbTamaño->currentText()));
        const auto obras = cfg.ObrasSociales();
        // A default set while the list held only the in-memory insurer (the first run's table
        // update does so) may name none of the insurers stored now.
        if (cfg.DefaultOS().isEmpty() || !NombraObraSocial(obras.get(), cfg.DefaultOS())) {
            if (!obras) throw VbError(91, QStringLiteral("frmConfigurar"), QStringLiteral("No hay obras sociales"));
            const auto primera = obras->Item_(1);
            cfg.setDefaultOS(primera->Nombre);
            cfg.setDefaultActividad(QString::number(primera->Actividad));
        }
        if (cfg.isNew()) cfg.AddConfig(NumeroTerminal);
        else cfg.UpdateConfig();
        GuardarTexto(QStringLiteral("TipoIngresoAutomatico"),
                     TipoIngresoAutomatico ? QStringLiteral("1") : QStringLiteral("0"));
        if (lvwLicencias->topLevelItemCount() > 1) {
            if (LicenciaSeleccionada.isEmpty()) {
                Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia"), Vbc::vbInformation,
                                Dialogs::kAppTitle);
                return;
            }
            GuardarTexto(QStringLiteral("LicenciaSeleccionada"), LicenciaSeleccionada);
        }
        for (const auto& v : RegistroConfiguracion::ValoresActualizacion(
                 {ActualizaNomencladores, ActualizaMedicos, ActualizaEfectores, ActualizaPrestadores, ActualizaObrasS,
                  ActualizaPrestaciones, ActualizaDiagnosticos}))
            GuardarTexto(v.first, v.second);
        cfg.LoadConfig(NumeroTerminal, true);
        // Providers were renumbered by their place in the list: the old id names another one.
        PrestadorActual = 0;
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al intentar guardar la configuración\r\n") + DescripcionError(e),
                        Vbc::vbCritical, Dialogs::kAppTitle);
        return;
    }
    try {
        accept();
        DescargarFormularios(QString());
        if (frmMain* m = frmMain::Instancia()) {
            m->resize(m->width(), Twips::APixeles(DisposicionPrincipal::kAltoArranque));
            m->MDIForm_Resize();
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al intentar guardar la configuración\r\n") + DescripcionError(e),
                        Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::RecargarSinGuardar()
{
    using namespace General;
    if (!gConfig) return;
    // What the window put into gConfig was never stored: read it back as the database has it,
    // with the client's marks, on the folder and account in use now.
    const QString carpeta = DirectorioTrabajo;
    const QString licencia = LicenciaSeleccionada;
    try {
        gConfig->LoadConfig(NumeroTerminal, false);
        DirectorioTrabajo = carpeta;
        LicenciaSeleccionada = licencia;
        gConfig->LeerArchivoParametros();
    } catch (...) {
        DirectorioTrabajo = carpeta;
        LicenciaSeleccionada = licencia;
        throw;
    }
}

void frmConfigurar::cmdActualizar_Click()
{
    using namespace General;
    const QString titulo = QStringLiteral("Actualización");
    try {
        if (lvwLicencias->topLevelItemCount() >= 2 && LicenciaSeleccionada.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para hacer la actualización"),
                            Vbc::vbInformation, Dialogs::kAppTitle);
            return;
        }
        // Another account: its insurers and providers are fetched.
        if (LicenciaSeleccionada != Estado().LicenciaInicial) {
            chkObras->setChecked(true);
            chkTObras->setChecked(true);
            chkPrestadores->setChecked(true);
        }
        PunteroOcupado puntero(this);
        // A "Todos" box asks for the whole table only while its table is asked for.
        auto todos = [](const QCheckBox* tabla, const QCheckBox* todo) {
            return tabla->isChecked() && todo->isChecked();
        };
        const bool prestadores = chkPrestadores->isChecked(), efectores = chkEfectores->isChecked(),
                   medicos = chkMedicos->isChecked(), obras = chkObras->isChecked(),
                   prestaciones = chkPrestaciones->isChecked(), diagnosticos = chkDiagnosticos->isChecked();
        const bool todosPrestadores = todos(chkPrestadores, chkTPrestadores);
        if (!ActualizarTablas(efectores, prestadores, medicos, todos(chkEfectores, chkTEfectores), todosPrestadores,
                              todos(chkMedicos, chkTMedicos), obras, todos(chkObras, chkTObras), prestaciones,
                              todos(chkPrestaciones, chkTPrestaciones), diagnosticos,
                              todos(chkDiagnosticos, chkTDiagnosticos), LicenciaSeleccionada)) {
            unsetCursor();
            Dialogs::MsgBox(QStringLiteral("No se realizó el proceso de actualización"), Vbc::vbInformation, titulo);
            return;
        }
        clsConfig& cfg = *gConfig;
        if (prestadores) {
            cfg.LoadPrestadores(false);
            CargarListaPrestadores();
            if (todosPrestadores && !Vb::Trim(ListaIdsPrestadores).isEmpty()) {
                AplicarDependenciasOperaciones();
                CargarListaOperaciones();
            }
        }
        if (obras) {
            cfg.LoadOS();
            CargarListaObrasSociales();
        }
        if (efectores) {
            cfg.LoadEfectores();
            // Storing writes the list back: a list left as it was would delete what was fetched.
            CargarListaEfectores();
        }
        if (prestaciones) cfg.LoadPrestaciones();
        if (medicos) cfg.LoadMedicos();
        if (diagnosticos) cfg.LoadDiagnosticos();
        unsetCursor();
        Dialogs::MsgBox(QStringLiteral("Finalizó el proceso de actualización"), Vbc::vbInformation, titulo);
    } catch (const std::exception& e) {
        unsetCursor();
        Dialogs::MsgBox(QStringLiteral("Se produjo el siguiente error: ") + DescripcionError(e), Vbc::vbCritical,
                        Dialogs::kAppTitle);
    }
}
