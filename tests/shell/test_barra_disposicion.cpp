#include "platform/Twips.h"
#include "shell/BarraOperaciones.h"
#include "shell/DisposicionPrincipal.h"
#include "shell/ManejadorOperaciones.h"
#include "shell/frmToolList.h"

#include <QGroupBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using namespace BarraOperaciones;
using DisposicionPrincipal::Acciones;

// Which handler each call reached, by its name.
class Registro : public ManejadorOperaciones {
public:
    QStringList llamadas;
#define H(n) void n() override { llamadas << QStringLiteral(#n); }
    H(mnuVerficarAfiliado_Click) H(mnuVerificarPrestacion_Click) H(mnuVerificarPrestador_Click)
    H(mnuInformarPrestacionSinFecha_Click) H(mnuInformarPrescripcion_Click) H(mnuInformarPrestacionAutorizada_Click)
    H(mnuInformarAutorizar_Click) H(mnuInformarPrestacionConFecha_Click) H(mnuConsultarAutorizacion_Click)
    H(mnuAnulacion_Click) H(mnuAutorizarCirugia_Click) H(mnuInformarDiagnostico_Click) H(mnuInformarCirugia_Click)
    H(mnuAdmisionInternacion_Click) H(mnuAltaInternacion_Click) H(mnuEnvioProtocolo_Click)
    H(mnuAutorizacionOrtodoncia_Click) H(mnuAutorizacionSolicitudProtesis_Click) H(mnuRescateSolicitudProtesis_Click)
    H(mnuConsultaCierre_Click) H(mnuCierreLote_Click) H(mnuMedicamentos_Click)
#undef H
};

int indiceDe(Grupo g, int i) { return int(BuscarBoton(g, i) - Botones().data()); }

// Every code in use or not, as the operation list gives them.
QList<std::pair<QString, qint16>> todas(qint16 utiliza)
{
    QList<std::pair<QString, qint16>> ops;
    for (const Boton& b : Botones()) ops.append({QString::fromLatin1(b.codigo), utiliza});
    return ops;
}

Disposicion disposicion(const QList<bool>& visibles)
{
    Disposicion d;
    d.botones.resize(5);
    for (int i = 0; i < Botones().size(); ++i) {
        const Boton& b = Botones()[i];
        Control c{visibles[i], 0, b.alto};
        if (b.grupo == Medicamento)
            d.medicamento = {visibles[i], 240, b.alto};
        else
            d.botones[b.grupo].append(c);
    }
    for (int g = 0; g < kGrupos; ++g) d.marcos.append({true, g == 0 ? 60 : 0, 0});
    return d;
}

TEST(BarraOperaciones, VisibilityFromTheOperationList)
{
    const int n = Botones().size();
    const QList<bool> todos(n, true);
    const int diferida = indiceDe(Informar, 4), diagnostico = indiceDe(Informar, 8), afiliado = indiceDe(Verificar, 0);
    QList<bool> soloAfiliado(n, false);
    soloAfiliado[afiliado] = true;
    auto ops = todas(0);
    ops[0].second = 1; // "01A"
    EXPECT_EQ(Visibilidad(ops, todos), soloAfiliado);

    struct Caso {
        QList<std::pair<QString, qint16>> ops;
        QList<int> ocultos;
    };
    const Caso casos[] = {
        {{{"02D", 0}}, {diferida, diagnostico}},                // one code, two buttons
        {{{"02D", 1}}, {}},
        {{{"01A", 2}}, {afiliado}},                             // only 1 means in use
        {{{"01a", 0}, {"01A ", 0}, {"99Z", 0}}, {}},            // exact codes only
        {{}, {}},                                               // nothing listed: nothing changes
        {{{"01A", 0}, {"01A", 1}}, {}},                         // the later item decides
        {{{"01A", 1}, {"01A", 0}}, {afiliado}},
    };
    for (const Caso& k : casos) {
        QList<bool> esperado = todos;
        for (int i : k.ocultos) esperado[i] = false;
        EXPECT_EQ(Visibilidad(k.ops, todos), esperado);
    }
    EXPECT_EQ(Visibilidad({}, soloAfiliado), soloAfiliado);
}

TEST(BarraOperaciones, StacksButtonsAndFrames)
{
    QList<Control> ninguno{{false, 7, 495}, {false, 9, 495}};
    EXPECT_EQ(ApilarBotones(ninguno), 0);
    EXPECT_EQ(ninguno[1].top, 9);
    QList<Control> tres{{true, 0, 495}, {false, 5, 495}, {true, 0, 675}};
    EXPECT_EQ(ApilarBotones(tres), 250 + 495 + 675);
    EXPECT_EQ(tres[0].top, 250);
    EXPECT_EQ(tres[1].top, 5);
    EXPECT_EQ(tres[2].top, 745);

    // Only "Afiliado" in use.
    QList<bool> v(Botones().size(), false);
    v[0] = true;
    Disposicion d = disposicion(v);
    Reordenar(d);
    EXPECT_EQ(d.botones[Verificar][0].top, 250);
    EXPECT_EQ(d.marcos[Verificar].alto, 805);
    EXPECT_EQ(d.marcos[Verificar].top, 60);
    EXPECT_EQ(d.marcos[Informar].top, 865);
    for (int g = Informar; g < kGrupos; ++g) {
        EXPECT_EQ(d.marcos[g].alto, 0);
        EXPECT_TRUE(d.marcos[g].visible); // empty frames are not hidden
    }
    EXPECT_EQ(d.alto, 1165);

    // Every "Verificar" hidden: "Informar" still starts 60 down.
    v = QList<bool>(Botones().size(), true);
    for (int i = 0; i < 3; ++i) v[i] = false;
    d = disposicion(v);
    Reordenar(d);
    EXPECT_EQ(d.marcos[Verificar].alto, 0);
    EXPECT_EQ(d.marcos[Informar].top, 60);
    EXPECT_EQ(d.marcos[Informar].alto, 250 + 9 * 495 + 60);
    EXPECT_EQ(d.marcos[Internacion].top, d.marcos[Informar].alto + 60);
    EXPECT_EQ(d.marcos[Internacion].alto, 250 + 3 * 495 + 675 + 60);
    EXPECT_EQ(d.marcos[Medicamento].alto, 615 + 310);
    int suma = 0;
    for (int g = 0; g < kGrupos; ++g) suma += d.marcos[g].alto;
    EXPECT_EQ(d.marcos[Medicamento].top, suma - d.marcos[Medicamento].alto + 5 * 60 - 60);
    EXPECT_EQ(d.alto, suma + 360);
}

TEST(BarraOperaciones, WindowAppliesTheLayoutAndCallsTheHandlers)
{
    frmToolList barra;
    Registro registro;
    barra.Principal = &registro;
    for (int i = 1; i < Botones().size(); ++i) barra.BotonDe(Botones()[i].grupo, Botones()[i].indice)->hide();
    barra.Habilitar_Operaciones(); // no configuration: the buttons stay as they are, laid out again
    EXPECT_FALSE(barra.cmdVerificar[0]->isHidden());
    EXPECT_TRUE(barra.cmdInformar[8]->isHidden());
    EXPECT_EQ(barra.cmdVerificar[0]->y(), Twips::APixeles(250));
    EXPECT_EQ(barra.fraVerificar->geometry(), Twips::APixeles(QRect(30, 60, 1230, 805)));
    EXPECT_EQ(barra.fraInformar->y(), Twips::APixeles(865));
    EXPECT_EQ(barra.height(), Twips::APixeles(1165));

    barra.HabilitarSoloEnLinea(false);
    QStringList apagados;
    for (const Boton& b : Botones())
        if (!barra.BotonDe(b.grupo, b.indice)->isEnabled()) apagados << QString::fromUtf8(b.titulo);
    EXPECT_EQ(apagados, (QStringList{"Afiliado", "Afiliado / Prestación", "Verificación completa",
                                     "Prestación Pre-Autoriz.", "Prestación Diferida"}));

    // Each button calls its own handler; "Cierres" beyond index 0 is the batch close.
    barra.cmdMedicamento->click();
    barra.cmdInformar[6]->click();
    barra.cmdCierre_Click(0);
    barra.cmdCierre_Click(1);
    barra.cmdCierre_Click(5);
    barra.cmdInternacion_Click(9);
    EXPECT_EQ(registro.llamadas, (QStringList{"mnuMedicamentos_Click", "mnuAnulacion_Click", "mnuConsultaCierre_Click",
                                              "mnuCierreLote_Click", "mnuCierreLote_Click"}));
    registro.llamadas.clear();
    for (const Boton& b : Botones()) (registro.*(b.manejador))();
    EXPECT_EQ(QSet<QString>(registro.llamadas.begin(), registro.llamadas.end()).size(), 22);
}

TEST(DisposicionPrincipal, PlacesTheChildrenAndSizesOnlyTheOpenWorkingWindow)
{
    using P = Acciones::Paso;
    DisposicionPrincipal::Estado e;
    e.alto = 11340, e.ancho = 12000, e.altoStatusBar = 300, e.anchoBarra = 2000, e.anchoObraSocial = 3000;

    struct Caso {
        qint16 operacion;
        QStringList abiertos;
        std::optional<DisposicionPrincipal::Trabajo> trabajo;
    };
    const Caso casos[] = {
        {99, {"frmInicio"}, DisposicionPrincipal::Trabajo{"frmInicio", 10040, 6800}},
        {4, {"frmEmuladorPOS"}, DisposicionPrincipal::Trabajo{"frmEmuladorPOS", 9800, 6800}},
        {97, {"frmEmuladorPOS"}, DisposicionPrincipal::Trabajo{"frmEmuladorPOS", 9800, 6800}},
        {21, {"frmCierres"}, DisposicionPrincipal::Trabajo{"frmCierres", 7200, 6800}},
        {30, {"frmVademecum"}, DisposicionPrincipal::Trabajo{"frmVademecum", 7200, 6800}},
        {98, {"frmExportarDatos"}, DisposicionPrincipal::Trabajo{"frmExportarDatos", 7200, 6800}},
        {4, {"frmOSGenerica"}, std::nullopt}, // the capture keeps its size
        {99, {}, std::nullopt},               // never creates a window
        {0, {"frmHistoriaClinica"}, std::nullopt},
        {40, {"frmEmuladorPOS"}, std::nullopt},
    };
    for (const Caso& k : casos) {
        e.operacion = k.operacion;
        e.abiertos = k.abiertos;
        const Acciones a = DisposicionPrincipal::MDIForm_Resize(e);
        EXPECT_EQ(a.paso, P::Colocar);
        EXPECT_EQ(a.barra, QPoint(0, 0));
        EXPECT_EQ(a.obraSocial, QRect(8815, 0, 3000, 7200));
        EXPECT_EQ(a.trabajo, k.trabajo) << k.operacion;
    }

    e.minimizada = true;
    EXPECT_EQ(DisposicionPrincipal::MDIForm_Resize(e).paso, P::Ninguno);
    e.minimizada = false;
    e.alto = 6000, e.ancho = 8000;
    Acciones a = DisposicionPrincipal::MDIForm_Resize(e);
    EXPECT_EQ(a.paso, P::Alto);
    EXPECT_EQ(a.medida, 6800);
    e.alto = a.medida; // the second pass, raised by the change
    a = DisposicionPrincipal::MDIForm_Resize(e);
    EXPECT_EQ(a.paso, P::Ancho);
    EXPECT_EQ(a.medida, 9000);
    e.ancho = a.medida;
    EXPECT_EQ(DisposicionPrincipal::MDIForm_Resize(e).paso, P::Colocar);
}

}
