#include "config/clsPrestaciones.h"

#include "config/clsPrestacion.h"
#include "engine/modUtils.h"
#include "platform/Codec1252.h"
#include "platform/Database.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kOrigen = QStringLiteral("QuorvanLog.clsPrestaciones");

[[noreturn]] void relanzar(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const DbError*>(&e)) throw DbError(db->number, kOrigen, db->description,
        db->sqlState);
    if (const auto* vb = dynamic_cast<const VbError*>(&e)) throw VbError(vb->number, kOrigen, vb->description);
    throw VbError(5, kOrigen, QString::fromLocal8Bit(e.what()));
}

// A field of the services file as stored: cut of its padding, then in canonical form.
QString campo(const QString& texto) { return modUtils::NormalizarCodigo(Vb::Trim(texto)); }

QString recortadoONulo(const QVariant& v) { return ValoresBD::NuloATexto(v); }

}

bool clsPrestaciones::BuscarObraSocial(qint32& id)
{
    DbResult rs = cnQuorvan->Query(QStringLiteral("SELECT * FROM ObrasSociales WHERE Nombre = ?"),
                                   {strArchivoPrestaciones});
    if (rs.EOF_()) return false;
    id = ValoresBD::AEntero32(rs["IdObraSocial"]);
    return true;
}

void clsPrestaciones::Add(const QString& archivo)
{
    if (archivo.isEmpty() || !QFileInfo(archivo).isFile()) return;
    try {
        cnQuorvan->EnTransaccion([&] {
            qint32 idObraSocial = 0;
            if (!BuscarObraSocial(idObraSocial))
                throw VbError(1000, kOrigen, QStringLiteral("La Obra Social no existe"));

            QFile f(archivo);
            if (!f.open(QIODevice::ReadOnly))
                throw VbError(VbError::FileNotFound, kOrigen, QStringLiteral("No se ha encontrado el archivo"));
            const QString contenido = Codec1252::decode(f.readAll());
            f.close();
            QStringList lineas = Lineas::Separar(contenido);
            if (!lineas.isEmpty() && lineas.last().isEmpty()) lineas.removeLast();

            for (const QString& linea : lineas) {
                const QString interno = campo(Vb::Mid(linea, 1, 15));
                const QString codigo = campo(Vb::Mid(linea, 16, 15));
                const QString valor1 = campo(Vb::Mid(linea, 31, 15));
                const QString valor2 = campo(Vb::Mid(linea, 46, 15));
                const QString descripcion = campo(Vb::Mid(linea, 61, 150));
                const QString observaciones = campo(Vb::Mid(linea, 211, 150));

                DbResult rs = cnQuorvan->Query(
                    QStringLiteral("SELECT * FROM Prestaciones WHERE IdObraSocial = ? AND CodigoInterno = ?"),
                    {idObraSocial, interno});
                if (rs.EOF_()) {
                    cnQuorvan->Execute(QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoInterno, "
                                                      "CodigoPrestacion, Valor1, Valor2, Descripcion, Observaciones) "
                                                      "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                                       {idObraSocial, interno, codigo, valor1, valor2, descripcion, observaciones});
                } else {
                    // The same fields as a new row, so importing a file twice stores the same texts.
                    cnQuorvan->Execute(QStringLiteral("UPDATE Prestaciones SET CodigoPrestacion = ?, Valor1 = ?, "
                                                      "Valor2 = ?, Descripcion = ?, Observaciones = ? "
                                                      "WHERE IdObraSocial = ? AND CodigoInterno = ?"),
                                       {codigo, valor1, valor2, descripcion, observaciones,
                                        ValoresBD::AEntero32(rs["IdObraSocial"]), Vb::CStr(rs["CodigoInterno"])});
                }
                QCoreApplication::processEvents();
            }
        });
    } catch (const std::exception& e) {
        const auto* vb = dynamic_cast<const VbError*>(&e);
        Dialogs::MsgBox(QStringLiteral("Error al guardar prestaciones\n")
                            + (vb ? vb->description : QString::fromLocal8Bit(e.what())),
                        Vbc::vbInformation, Dialogs::kAppTitle);
    }
}

void clsPrestaciones::Remove(const QString& codigo)
{
    try {
        qint32 id = 0;
        if (!BuscarObraSocial(id)) return;
        cnQuorvan->Execute(QStringLiteral("DELETE FROM Prestaciones WHERE IdObraSocial = ? AND CodigoPrestacion = ?"),
                           {id, codigo});
    } catch (const std::exception& e) {
        relanzar(e);
    }
}

void clsPrestaciones::RemoveAll()
{
    try {
        qint32 id = 0;
        if (!BuscarObraSocial(id)) return;
        cnQuorvan->Execute(QStringLiteral("DELETE FROM Prestaciones WHERE IdObraSocial = ?"), {id});
    } catch (const std::exception& e) {
        relanzar(e);
    }
}

std::shared_ptr<Coleccion<clsPrestacion>> clsPrestaciones::Load()
{
    try {
        auto col = std::make_shared<Coleccion<clsPrestacion>>();
        DbResult rs = cnQuorvan->Query(QStringLiteral("SELECT * FROM Prestaciones P ORDER BY CodigoInterno"));
        for (; !rs.EOF_(); rs.MoveNext()) {
            auto p = std::make_shared<clsPrestacion>();
            p->CodigoInterno = Vb::Trim(Vb::CStr(rs["CodigoInterno"]));
            p->CodigoPrestacion = Vb::Trim(Vb::CStr(rs["CodigoPrestacion"]));
            p->Descripcion = Vb::Trim(Vb::CStr(rs["Descripcion"]));
            p->Valor1 = recortadoONulo(rs["Valor1"]);
            p->Valor2 = recortadoONulo(rs["Valor2"]);
            p->Observaciones = recortadoONulo(rs["Observaciones"]);
            col->Add(p);
        }
        return col;
    } catch (const std::exception& e) {
        relanzar(e);
    }
}
