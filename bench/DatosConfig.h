#pragma once
// The data set of a large terminal configuration on the embedded SQLite database: 20,000
// services, 5,000 doctors, 500 providers, 500 effectors, 50 insurers, 500 diagnoses and the
// terminal's row. Shared by the configuration and start-up benchmarks.
#include "platform/Database.h"
#include "support/InsertarPorLotes.h"

#include <QString>
#include <QVariantList>
#include <functional>

namespace DatosConfig {

constexpr int kPrestaciones = 20000;
constexpr int kMedicos = 5000;
constexpr int kPrestadores = 500;
constexpr int kEfectores = 500;
constexpr int kObrasSociales = 50;
constexpr int kDiagnosticos = 500;

inline void poblar()
{
    Database db;
    db.Open();
    db.EnsureSchema();
    db.BeginTrans();
    for (const char* t : {"Prestaciones", "Medicos", "Prestadores", "Efectores", "ObrasSociales", "Diagnosticos",
                          "Parametros", "Especialidades"})
        db.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(t)));
    InsertarPorLotes(db, QStringLiteral("INSERT INTO Prestaciones (IdObraSocial, CodigoPrestacion, CodigoInterno, Valor1, "
                                "Valor2, Descripcion, Observaciones) VALUES "),
             7, kPrestaciones, [](int i) {
                 return QVariantList{i % kObrasSociales + 1, QStringLiteral("%1").arg(420000 + i),
                                     QStringLiteral("I%1").arg(i), QStringLiteral("%1.50").arg(i % 900),
                                     QStringLiteral("0"), QStringLiteral("Práctica número %1 de D'Angelo").arg(i),
                                     QStringLiteral("C:\\Estandar\\%1").arg(i)};
             });
    InsertarPorLotes(db, QStringLiteral("INSERT INTO Medicos (ApellidoNombre, Matricula, TipoMatricula, Baja) VALUES "), 4,
             kMedicos, [](int i) {
                 return QVariantList{QStringLiteral("Médico %1, Ñandú").arg(i), QString::number(10000 + i),
                                     QStringLiteral("MN"), 0};
             });
    InsertarPorLotes(db, QStringLiteral("INSERT INTO Prestadores (IdPrestador, Nombre, Cuit, CodigoOSDE, Predeterminado, "
                                "RequierePrescripcion, Filial, Admisor, Odontologo, Licencia, "
                                "RequiereMatPrescriptor) VALUES "),
             11, kPrestadores, [](int i) {
                 return QVariantList{i + 1, QStringLiteral("Prestador %1").arg(i, 4, 10, QLatin1Char('0')),
                                     QString::number(20300000000LL + i), 60000 + i, i == 0 ? 1 : 0, 0, 1, 0, 0,
                                     QStringLiteral("LIC%1").arg(i), 0};
             });
    InsertarPorLotes(db, QStringLiteral("INSERT INTO Efectores (IdEfector, Nombre, Cuit, TipoMatricula, Matricula, "
                                "idEspecialidad, Baja) VALUES "),
             7, kEfectores, [](int i) {
                 return QVariantList{i + 1, QStringLiteral("Efector %1").arg(i), QString::number(27200000000LL + i),
                                     QStringLiteral("MP"), QString::number(5000 + i), 0, 0};
             });
    InsertarPorLotes(db, QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, FilialOS, OnLine, UtilizarCI, "
                                "AUISOA, Empresa, Actividad, UtilizaCSC) VALUES "),
             9, kObrasSociales, [](int i) {
                 return QVariantList{i + 1, QStringLiteral("Obra social %1").arg(i), 0, 1, 0, 0, i + 1, 1, 0};
             });
    InsertarPorLotes(db, QStringLiteral("INSERT INTO Diagnosticos (Codigo, Diagnostico) VALUES "), 2, kDiagnosticos,
             [](int i) { return QVariantList{QStringLiteral("D%1").arg(i), QStringLiteral("Diagnóstico %1").arg(i)}; });
    db.Execute(QStringLiteral("INSERT INTO Parametros (IdTerminal, CheckApp, IdDelimitador, Imprimir, Impresora, "
                              "Copias, Largohoja, Timer, WorkDir, DirTX, DefaultDirTX, DBConect, FontName, FontSize, "
                              "DefaultOS, DefaultActividad, DireccionTerminal, TelefonoTerminal, LatitudTerminal, "
                              "LongitudTerminal) VALUES (1, 1, 1, 1, ?, 1, 60, 0, ?, ?, 1, ?, ?, 9, ?, 1, ?, ?, ?, ?)"),
               {QStringLiteral("Recepción"), QStringLiteral("/tmp/druvex/"), QStringLiteral("tx"),
                QStringLiteral("Access"), QStringLiteral("Courier New"), QStringLiteral("OSDE"),
                QStringLiteral("Av. Siempreviva 742"), QStringLiteral("4555-0000"), QStringLiteral("-34.6"),
                QStringLiteral("-58.4")});
    db.CommitTrans();
    db.Close();
}

}
