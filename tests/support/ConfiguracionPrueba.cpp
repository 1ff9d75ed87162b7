#include "support/ConfiguracionPrueba.h"

#include "config/GeneralConfiguracion.h"
#include "config/clsConfig.h"
#include "config/clsObraSocial.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/Database.h"

namespace ConfiguracionPrueba {

void ObrasSociales(const QList<ObraSocial>& lista)
{
    auto col = std::make_shared<Coleccion<clsObraSocial>>();
    for (const ObraSocial& o : lista) {
        auto x = std::make_shared<clsObraSocial>();
        x->IdObraSocial = o.id;
        x->Nombre = o.nombre;
        x->Actividad = o.actividad;
        x->OnLine = o.onLine;
        x->UtilizaCI = o.utilizaCI;
        x->Empresa = o.empresa;
        x->BitMap = o.bitMap;
        x->UtilizaCSC = o.utilizaCSC;
        col->Add(x);
    }
    General::gConfig->setObrasSociales(col);
}

void GuardarObrasSociales(Database& db, const QList<ObraSocial>& lista)
{
    for (const ObraSocial& o : lista)
        db.Execute(QStringLiteral("INSERT INTO ObrasSociales (IdObraSocial, Nombre, OnLine, Actividad, Empresa) "
                                  "VALUES (?, ?, ?, ?, ?)"),
                   {int(o.id), o.nombre, o.onLine ? 1 : 0, int(o.actividad), int(o.empresa)});
}

void Prestadores(const QList<Prestador>& lista)
{
    auto col = std::make_shared<Coleccion<clsPrestador>>();
    for (const Prestador& p : lista) {
        auto x = std::make_shared<clsPrestador>();
        x->idPrestador = p.id;
        x->Nombre = p.nombre;
        x->Cuit = p.cuit;
        x->Admisor = 1;
        col->Add(x);
    }
    General::gConfig->setPrestadores(col);
}

}
