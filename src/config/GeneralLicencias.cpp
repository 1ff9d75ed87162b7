#include "config/GeneralTablas.h"

#include "config/clsObraSocial.h"
#include "config/modTablas.h"
#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "platform/VbError.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Vb.h"

#include <QCoreApplication>
#include <QList>

namespace General {

namespace {

const QString kArchivoEmp = QStringLiteral("_druvex.emp");
constexpr int kLargoRegistroEmp = 74;

// The bytes of the account file of the working folder, whatever the case of its name; none
// when the folder has none (or no working folder is set). The file is looked for as an
// ordinary file, so a folder of that name is none either; one that is a link, not a regular
// file or too large raises VbError naming it.
std::optional<QByteArray> LeerArchivoEmp()
{
    if (Vb::Trim(DirectorioTrabajo).isEmpty()) return std::nullopt;
    return CarpetaTerminal::LeerDeBase(DirectorioTrabajo, kArchivoEmp, QStringLiteral("General"), true);
}

// The whole records of the file, in order; a short tail is no record.
QList<RegistroEmp> LeerRegistrosEmp(const QByteArray& bytes)
{
    QList<RegistroEmp> registros;
    for (qsizetype pos = 0; pos + kLargoRegistroEmp <= bytes.size(); pos += kLargoRegistroEmp) {
        const QString r = Codec1252::decode(bytes.mid(pos, kLargoRegistroEmp));
        RegistroEmp reg;
        reg.Licencia = r.mid(0, 8);
        reg.CodigoEmpresa = r.mid(8, 2);
        reg.NombreEmpresa = r.mid(10, 30);
        reg.CodigoActividad = r.mid(40, 2);
        reg.NombreActividad = r.mid(42, 30);
        registros.append(reg);
    }
    return registros;
}

bool EsFarmacia(const RegistroEmp& r)
{
    return Vb::Trim(r.NombreActividad).toUpper().startsWith(QLatin1String("FARMACIA"));
}

// The record number becomes the new insurer's id unless an insurer already holds it; then the
// next id after the largest one, so an insert never collides with an existing row.
QString IdNuevaObraSocial(Database& cn, int numeroRegistro)
{
    DbResult rs = cn.Query(QStringLiteral("SELECT COUNT(*) AS Cantidad FROM ObrasSociales WHERE IdObraSocial = ?"),
                           {numeroRegistro});
    if (rs.EOF_() || Vb::Val(Vb::CStr(rs["Cantidad"])) == 0) return QString::number(numeroRegistro);
    DbResult mx = cn.Query(QStringLiteral("SELECT MAX(IdObraSocial) AS Maximo FROM ObrasSociales"));
    const double maximo = mx.EOF_() ? 0 : Vb::Val(Vb::CStr(mx["Maximo"]));
    return QString::number(Vb::CInt(maximo + 1));
}

}

void CargarLicencias()
{
    Licencias = QStringList{QString()};
    int cantidad = 0;
    QString anterior;
    try {
        const std::optional<QByteArray> archivo = LeerArchivoEmp();
        if (!archivo) {
            Dialogs::MsgBox(
                QStringLiteral("No existen licencias registradas para el directorio de trabajo seleccionado."),
                Vbc::vbInformation);
            return;
        }
        const QList<RegistroEmp> registros = LeerRegistrosEmp(*archivo);
        for (const RegistroEmp& r : registros) {
            if (!EsFarmacia(r)) {
                // Neighbours only: an account shows again after another account's records.
                if (r.Licencia != anterior) {
                    if (cantidad < Licencias.size())
                        Licencias[cantidad] = r.Licencia;
                    else
                        Licencias.append(r.Licencia);
                    ++cantidad;
                }
                anterior = r.Licencia;
            }
            QCoreApplication::processEvents();
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: \n") + DescripcionError(e), Vbc::vbCritical,
                        QStringLiteral("Lectura de licencias del Druvex.emp"));
    }
}

void ActualizarObrasSocialesEmp(const QString& licencia)
{
    try {
        const std::optional<QByteArray> archivo = LeerArchivoEmp();
        if (!archivo) return;
        const QList<RegistroEmp> registros = LeerRegistrosEmp(*archivo);
        const QString cuenta = Vb::Trim(licencia).toUpper();
        std::shared_ptr<Database> cn; // for the id check of new insurers, opened when first needed
        clsObraSocial os;

        for (int i = 0; i < registros.size(); ++i) {
            const RegistroEmp& r = registros[i];
            const int numero = i + 1;
            QCoreApplication::processEvents();

            if (EsFarmacia(r)) continue;
            if (!cuenta.isEmpty() && cuenta != Vb::Trim(r.Licencia).toUpper()) continue;
            // A record without a company cannot name an insurer; the records after it still count.
            const QString codigoEmpresa = Vb::Trim(r.CodigoEmpresa);
            if (!Vb::IsNumeric(codigoEmpresa)) continue;
            const qint32 empresa = Vb::CLng(codigoEmpresa);
            if (empresa == 0) continue;
            const QString codigoActividad = Vb::Trim(r.CodigoActividad);
            const qint32 actividad = codigoActividad.isEmpty() ? 0 : Vb::CLng(codigoActividad);

            const auto rs = os.Buscar(QString(), empresa, actividad);
            const bool encontrada = rs && !rs->EOF_();

            if (!encontrada) {
                if (Vb::Trim(r.NombreEmpresa).toUpper().startsWith(QLatin1String("JWK"))) continue;
                if (!cn) cn = modTablas::AbrirConexion();
                os.Procesar(1, IdNuevaObraSocial(*cn, numero), Vb::Trim(r.NombreEmpresa), true, false,
                            QStringLiteral("610531"), QString::number(empresa), QString::number(actividad),
                            QStringLiteral("60"), false, QString());
            } else {
                // The insurer's own AUISOA and CSC flag are settings of this installation; the file
                // carries neither, so the update keeps them.
                const QString id = QString::number(os.IdObraSocial);
                os.Condicion = QStringLiteral(" IdObraSocial = ") + id;
                os.Procesar(3, id, Vb::Trim(r.NombreEmpresa), true, false, Vb::Str(os.AUISOA), r.CodigoEmpresa,
                            r.CodigoActividad, QStringLiteral("60"), os.UtilizaCSC, os.Condicion);
            }
        }
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: \n") + DescripcionError(e), Vbc::vbCritical,
                        QStringLiteral("Actualización de Obras Sociales"));
    }
}

}
