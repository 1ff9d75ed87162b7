#include "entry/PantallaEmuladorPOS.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace PantallaEmuladorPOS;

namespace {

// The groups of the window, as the operation table names them.
const QHash<char, QStringList> kGrupos = {
    {'M', {"lblTarjeta", "txtTarjeta", "lblDocumento", "cboTipoDocumento", "txtNumeroDocumento"}},
    {'m', {"lblTarjeta", "txtTarjeta"}},
    {'S', {"lvwPrestaciones"}},
    {'D', {"lblAUDSM1", "txtAUDSM1", "cmdBuscarDiag0", "lblAUDSM2", "txtAUDSM2", "cmdBuscarDiag1"}},
    {'R', {"lblAUWREF", "txtAUWREF", "lblAUNREF", "txtAUNREF"}},
    {'F', {"lblFinalizacion", "cmbAUFINA"}},
    {'d', {"lblAUFECP", "txtAUFECP"}},
    {'t', {"lblAUHORP", "txtAUHORP"}},
    {'P', {"fmePrescriptor", "lblPrescriptor", "cboPrescriptores", "lblEspcecialidadPrescriptor",
           "cboEspecialidadPrescriptor", "lblAUTMAT", "cboTipoMatricula", "cboProvincia", "lblAUNMAT", "txtAUNMAT"}},
    {'E', {"fmeEfector", "lblEfector", "cboEfectores", "lblEspecialidadEfector", "cboEspecialidadEfector", "lblAUCEFE",
           "txtAUCEFE"}},
    {'O', {"frmProtocolo", "txtProtocolo", "optTipoInforme0", "optTipoInforme1", "cmdInforme", "cmdAdjuntar"}},
    {'C', {"lblCsc", "txtCSC"}},
    {'A', {"cmdAdd"}},
};

// One row of the operation table. Groups: always on; "P" prescriber: "p" with a prescription
// unless type 2, "q" with a prescription whatever the type, "P" unless type 2, "x" operation 19;
// "E" unless type 2. Reference rows with their own rules are spelt out as controls.
struct Fila {
    qint16 codigo;
    const char* grupos;
    const char* prescriptor;
    QStringList extra;       // further controls turned on
    QString wref, lblAUNREF; // "" none
    bool codigo_, arancel;
};

const QList<Fila> kTabla = {
    {1, "M", "", {}, "", "", false, false},
    {2, "MS", "", {}, "", "", true, true},
    {3, "MS", "", {}, "", "", true, true},
    {4, "MSDRFE", "p", {}, "", "", true, true},
    {18, "MSDRFE", "p", {}, "", "", true, true},
    {5, "MSD", "q", {}, "", "", true, true},
    {6, "MSD", "p", {}, "", "", true, true},
    {7, "MSDRFdE", "P", {}, "", "", true, true},
    {11, "MSDRdE", "P", {}, "", "", true, true},
    {12, "MDRFdtE", "", {}, "", "", false, true},
    {8, "MR", "", {}, "", "Transacción:", false, true},
    {9, "MR", "", {}, "98", "Nº Transacción:", false, true},
    {13, "MDRdtEO", "", {}, "", "", false, true},
    {19, "MSDdtEO", "x", {}, "", "", true, true},
    {14, "MSDRdtE", "", {}, "98", "", true, true},
    {15, "MSD", "p", {"txtAUWREF"}, "OO", "", true, true},
    {16, "MSD", "p", {"txtAUWREF"}, "OP", "", true, true},
    {17, "M", "", {"txtAUWREF", "lblAUNREF", "txtAUNREF"}, "OD", "Transacción:", false, true},
    {97, "mD", "", {"lblAUNREF", "txtAUNREF"}, "", "", false, true},
    {44, "", "", {}, "", "", true, true},
};

QSet<QString> Todos()
{
    QSet<QString> t;
    for (const QStringList& g : kGrupos) t.unite(QSet<QString>(g.begin(), g.end()));
    t.insert("cmdDel");
    t.insert("cmdMod");
    return t;
}

} // namespace

TEST(ConfigurarPantalla, EveryOperationByProviderInsurerAndCardMode)
{
    const QSet<QString> todos = Todos();
    for (const Fila& f : kTabla) {
        for (qint16 tipo : {0, 1, 2})
            for (qint16 presc : {0, 1})
                for (bool csc : {false, true})
                    for (qint16 modo : {0, 1, 2})
                        for (bool osde : {false, true}) {
                            SCOPED_TRACE(testing::Message() << "op " << f.codigo << " tipo " << tipo << " presc " << presc
                                                            << " csc " << csc << " modo " << modo << " osde " << osde);
                            Entradas e{f.codigo, modo, csc, osde ? "Osde Nacional" : "Hope", presc, tipo, tipo == 1};
                            const Pantalla p = ConfigurarPantalla(e);

                            // Enabled, by hand from the table.
                            QSet<QString> on;
                            auto add = [&](const QStringList& l) { on.unite(QSet<QString>(l.begin(), l.end())); };
                            if (csc) add(kGrupos['M'].mid(2));
                            for (const char* g = f.grupos; *g; ++g)
                                if (*g != 'E' || tipo != 2) add(kGrupos[*g]);
                            add(f.extra);
                            const QString pr = f.prescriptor;
                            if ((pr == "p" && presc && tipo != 2) || (pr == "q" && presc) || (pr == "P" && tipo != 2))
                                add(kGrupos['P']);
                            if (pr == "x") {
                                if (presc) {
                                    add({"fmePrescriptor", "lblPrescriptor", "cboPrescriptores", "cboEspecialidadPrescriptor",
                                         "lblEspcecialidadPrescriptor", "lblAUTMAT", "lblAUNMAT", "txtAUNMAT"});
                                    for (const QString& c : kGrupos['E'])
                                        if (c != "txtAUCEFE") on.remove(c);
                                }
                                on.insert("cboTipoInternacion");
                            }
                            if (modo > 0) add(kGrupos['C']);
                            if (f.codigo_) on.insert("cmdAdd");
                            for (const QString& c : todos) {
                                const auto it = p.controles.constFind(c);
                                const bool sinTocar = it == p.controles.constEnd() || !it->habilitado;
                                const bool esperado = on.contains(c);
                                // The protocol frame is left as created outside 13 and 19.
                                if (sinTocar && kGrupos['O'].contains(c) && !on.contains(c) &&
                                    (c == "frmProtocolo" || c == "txtProtocolo" || c == "cmdAdjuntar"))
                                    continue;
                                EXPECT_FALSE(sinTocar) << c.toStdString();
                                if (!sinTocar) EXPECT_EQ(*it->habilitado, esperado) << c.toStdString();
                            }

                            auto ctl = [&](const char* n) { return p.controles.value(n); };
                            for (const char* c : {"lblCsc", "txtCSC", "lblDocumento", "cboTipoDocumento", "txtNumeroDocumento"})
                                EXPECT_EQ(ctl(c).visible, std::optional<bool>(csc)) << c;

                            const bool referral = f.codigo == 5 || f.codigo == 19;
                            EXPECT_EQ(ctl("fmePrescriptor").titulo,
                                      referral ? std::optional<QString>("Derivado a:") : std::nullopt);
                            EXPECT_EQ(ctl("lblAUTMAT").titulo, QString(referral ? "Filial:" : "Tipo:"));
                            EXPECT_EQ(ctl("lblAUNMAT").titulo, QString(referral ? "Código:" : "Matrícula:"));
                            EXPECT_EQ(ctl("lblAUTMAT").derecha, referral);
                            EXPECT_EQ(ctl("cboProvincia").visible, referral ? std::optional<bool>(false) : std::nullopt);
                            EXPECT_EQ(ctl("txtFilial").visible, referral ? std::optional<bool>(true) : std::nullopt);
                            EXPECT_EQ(ctl("txtFilial").geometria,
                                      referral ? std::optional<QRect>(QRect(2220, 220, 700, 300)) : std::nullopt);
                            EXPECT_EQ(p.filialDelPrestador, referral);
                            const bool cirugia = f.codigo == 19;
                            EXPECT_EQ(ctl("cboTipoInternacion").geometria,
                                      cirugia ? std::optional<QRect>(QRect(3500, 220, 1750, 315)) : std::nullopt);
                            EXPECT_EQ(ctl("lblLugar").geometria,
                                      cirugia ? std::optional<QRect>(QRect(3000, 280, 500, 255)) : std::nullopt);
                            EXPECT_EQ(ctl("lblLugar").visible, cirugia ? std::optional<bool>(true) : std::nullopt);
                            EXPECT_EQ(p.cargarTipoInstitucion, cirugia);
                            EXPECT_EQ(ctl("fmePrescriptor").geometria->width(), Geometria()["lvwPrestaciones"].width());

                            QString wref = f.wref;
                            if (f.codigo == 9 && tipo == 1) wref = "OD";
                            EXPECT_EQ(ctl("txtAUWREF").texto.value_or(""), wref);
                            EXPECT_EQ(ctl("lblAUNREF").titulo.value_or(""), f.lblAUNREF);
                            EXPECT_EQ(ctl("txtAUNREF").largoMaximo, f.codigo == 9 ? 10 : osde ? 6 : 10);
                            const bool informe = f.codigo == 13 || f.codigo == 19;
                            EXPECT_EQ(ctl("optTipoInforme0").marcado, informe ? std::optional<bool>(true) : std::nullopt);
                            EXPECT_EQ(p.egresoAlSegundo, f.codigo == 12);

                            EXPECT_EQ(p.codigoPrestacion, f.codigo_);
                            EXPECT_EQ(p.tipoArancel, f.arancel);
                            EXPECT_EQ(p.piezaDental, tipo == 1);
                            EXPECT_EQ(p.caraDental, tipo == 1);
                            EXPECT_EQ(ConfigurarPantalla(e).controles, p.controles) << "the same inputs, the same layout";
                        }
    }
    EXPECT_EQ(Foco(true, true), "txtTarjeta");
    EXPECT_EQ(Foco(true, false), "txtcodigoOSDE");
    EXPECT_EQ(Foco(false, true), "");
    EXPECT_EQ(LargoAutorizacion("osde binario"), 6);
}

// No two controls of one container overlap, and each stays inside it.
TEST(ConfigurarPantalla, CreationGeometryFitsWithoutOverlaps)
{
    const QHash<QString, QRect>& g = Geometria();
    const QHash<QString, QStringList> marcos = {
        {"fmePrescriptor", {"lblAUTMAT", "cboTipoMatricula", "cboProvincia", "lblAUNMAT", "txtAUNMAT", "lblPrescriptor",
                            "cboPrescriptores", "lblEspcecialidadPrescriptor", "cboEspecialidadPrescriptor"}},
        {"fmeEfector", {"lblEfector", "cboEfectores", "lblAUCEFE", "txtAUCEFE", "lblEspecialidadEfector",
                        "cboEspecialidadEfector"}},
        {"frmProtocolo", {"optTipoInforme0", "optTipoInforme1", "cmdInforme", "txtProtocolo", "cmdAdjuntar"}},
    };
    QStringList dentro;
    for (const QStringList& l : marcos) dentro += l;
    dentro << "txtFilial" << "lblLugar" << "cboTipoInternacion" << "txtFilialPrestador";
    QStringList sueltos;
    for (auto it = g.begin(); it != g.end(); ++it)
        if (!dentro.contains(it.key())) sueltos << it.key();
    auto revisar = [&](const QStringList& l, const QRect& caja) {
        for (int i = 0; i < l.size(); ++i) {
            EXPECT_TRUE(caja.contains(g[l[i]])) << l[i].toStdString();
            for (int j = i + 1; j < l.size(); ++j)
                EXPECT_FALSE(g[l[i]].intersects(g[l[j]])) << l[i].toStdString() << " " << l[j].toStdString();
        }
    };
    revisar(sueltos, QRect(0, 0, kAncho, kAlto - 500));
    for (auto it = marcos.begin(); it != marcos.end(); ++it)
        revisar(it.value(), QRect(QPoint(0, 0), g[it.key()].size()));
    // The referral's branch and place share the registration row without overlapping.
    revisar({"lblAUTMAT", "txtFilial", "lblLugar", "cboTipoInternacion", "lblAUNMAT", "txtAUNMAT", "cboPrescriptores"},
            QRect(QPoint(0, 0), g["fmePrescriptor"].size()));
}
