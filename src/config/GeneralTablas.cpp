#include "config/GeneralTablas.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Dialogs.h"
#include "platform/Vb.h"

#include <QCoreApplication>
#include <exception>

namespace General {

namespace {

// "0" not asked, "1" the changes, "2" the whole list.
QString Pedido(bool actualizar, bool completo)
{
    if (!actualizar)
        return QStringLiteral("0");
    return completo ? QStringLiteral("2") : QStringLiteral("1");
}

// The configuration's default insurer: DefaultOS holds its name and DefaultActividad its
// activity. A name listed under several activities takes the one of DefaultActividad.
std::shared_ptr<clsObraSocial> ObraSocialPredeterminada(const clsConfig& cfg)
{
    const auto lista = cfg.ObrasSociales();
    if (!lista)
        return nullptr;
    const QString nombre = cfg.DefaultOS().trimmed();
    const QString actividad = cfg.DefaultActividad().trimmed();
    std::shared_ptr<clsObraSocial> porNombre;
    for (const auto& os : *lista) {
        if (!os || os->Nombre.trimmed().compare(nombre, Qt::CaseInsensitive) != 0)
            continue;
        if (!porNombre)
            porNombre = os;
        if (!actividad.isEmpty() && Vb::Val(actividad) == os->Actividad)
            return os;
    }
    return porNombre;
}

// Releases the exchange of this run whichever way the run ends.
struct TransaccionDeLaCorrida {
    std::shared_ptr<clsTransaccion> propia;
    ~TransaccionDeLaCorrida()
    {
        if (propia && TransaccionActual == propia)
            TransaccionActual.reset();
    }
};

}

bool ActualizarTablas(bool bEfectores, bool bPrestadores, bool bMedicos, bool bCompletoEfectores,
                      bool bCompletoPrestadores, bool bCompletoMedicos, bool bObrasSocialesEmp,
                      bool bObrasSociales, bool bPracticas, bool bCompletoPracticas, bool bDiagnosticos,
                      bool bCompletoDiagnosticos, const QString& licencia)
{
    if (!bEfectores && !bPrestadores && !bMedicos && !bCompletoEfectores && !bCompletoPrestadores
        && !bCompletoMedicos && !bObrasSocialesEmp && !bObrasSociales && !bPracticas && !bCompletoPracticas
        && !bDiagnosticos && !bCompletoDiagnosticos)
        return false;

    bool resultado = false;
    TransaccionDeLaCorrida corrida;
    try {
        if (bObrasSocialesEmp) {
            ActualizarObrasSocialesEmp(licencia);
            resultado = true;
        }

        // A first run has no insurer yet: the request then goes with the fallback codes.
        clsConfig* cfg = gConfig.get();
        if (cfg && cfg->DefaultOS().isEmpty() && cfg->ObrasSociales() && !cfg->ObrasSociales()->isEmpty()) {
            const auto primera = cfg->ObrasSociales()->Item_(1);
            cfg->setDefaultOS(primera->Nombre);
            cfg->setDefaultActividad(QString::number(primera->Actividad));
        }

        const QString efectores = Pedido(bEfectores, bCompletoEfectores);
        const QString prestadores = Pedido(bPrestadores, bCompletoPrestadores);
        const QString medicos = Pedido(bMedicos, bCompletoMedicos);
        const QString practicas = Pedido(bPracticas, bCompletoPracticas);
        const QString diagnosticos = Pedido(bDiagnosticos, bCompletoDiagnosticos);

        // A whole-list flag without its update flag asks for nothing.
        if (!bEfectores && !bPrestadores && !bMedicos && !bPracticas && !bDiagnosticos)
            return resultado;

        auto tx = std::make_shared<clsTransaccion>();
        TransaccionActual = tx;
        corrida.propia = tx;
        tx->setCancelarPorTimeOut(false);
        tx->setTiempoEspera(30);
        QString paso = DirectorioTrabajo;
        if (paso.endsWith(QLatin1Char('\\')) || paso.endsWith(QLatin1Char('/')))
            paso.chop(1);
        tx->setPasoDRUVEX(paso);
        tx->setMostrarFormProceso(true);

        tx->setCodigoActividad(QStringLiteral("1"));
        tx->setCodigoEmpresa(QStringLiteral("11"));
        if (cfg && !cfg->DefaultOS().isEmpty()) {
            if (const auto os = ObraSocialPredeterminada(*cfg)) {
                tx->setCodigoActividad(QString::number(os->Actividad));
                tx->setCodigoEmpresa(QString::number(os->Empresa));
            }
        }

        tx->setLicencia(QString());
        if (!LicenciaSeleccionada.isEmpty()) {
            tx->setLicencia(LicenciaSeleccionada);
        } else if (Licencias.size() > 1) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar una única licencia para realizar transacciones"),
                            Vbc::vbInformation);
            return resultado;
        }

        tx->setImprimirTicket(false);
        tx->setVerListaErrores(false);
        tx->setVerTicket(false);
        tx->CompletarSAL0(0, QString(), QString(), QString(), QStringLiteral("0"), medicos, QStringLiteral("0"),
                          diagnosticos, practicas, prestadores, efectores, QString());

        // An answer that could not be read whole is not applied: a whole-list refresh would
        // first empty the table and then fill it from a partial list.
        if (tx->EnviarTransaccion() && tx->TransaccionRealizada()) {
            tx->FinalizarTransaccion();
            QCoreApplication::processEvents();
            ProcesarActualizacionTablas(bEfectores, bMedicos, bPrestadores, bPracticas, bDiagnosticos,
                                        bCompletoEfectores, bCompletoMedicos, bCompletoPrestadores,
                                        bCompletoPracticas, bCompletoDiagnosticos);
            resultado = true;
        } else {
            QCoreApplication::processEvents();
            Dialogs::MsgBox(QStringLiteral("Error en la transacción.\nFalla de comunicación."), Vbc::vbCritical);
            resultado = false;
        }
        TransaccionActual.reset();
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error: \n") + e.description, Vbc::vbCritical, Dialogs::kAppTitle);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: \n") + QString::fromLocal8Bit(e.what()), Vbc::vbCritical,
                        Dialogs::kAppTitle);
    }
    return resultado;
}

}
