#include "reports/frmReporte.h"

#include "engine/CarpetaTerminal.h"
#include "engine/General.h"
#include "entry/CMsgRequerimientoPOS.h"
#include "entry/modCuit.h"
#include "platform/ChequeosAlSalir.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/EscrituraSegura.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Platform.h"
#include "platform/Printing.h"
#include "platform/SinEnlaces.h"
#include "platform/Twips.h"
#include "platform/ValoresBD.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "reports/clsMsgReporte.h"
#include "reports/clsMultiselec.h"
#include "reports/clsReporte.h"
#include "reports/frmProcesando.h"
#include "reports/frmTransacciones.h"
#include "reports/modReporte.h"
#include "txlog/clsLog.h"
#include "platform/ReglasEntrada.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cerrno>
#include <cmath>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kTodos = QStringLiteral("Todos");
const QString kAlgunos = QStringLiteral("Algunos");
const QString kFuente = QStringLiteral("Courier New");
const QString kFechaIncorrecta = QStringLiteral("Fecha incorrecta");

QString TituloDetalleLocal()
{
    const QString raya = QString(118, QLatin1Char('_'));
    return raya + kCrLf + kCrLf +
           QStringLiteral("                 Trx                 Prescriptor   Efector                      Asociado                 ") +
           kCrLf + raya + kCrLf;
}

// The eleven digits of a provider item "(xx-xxxxxxxx-x) name".
QString CuitDelPrestador(const QString& item)
{
    return modCuit::SinGuiones(Vb::Mid(item, 2, 13));
}

// A dd/mm/yyyy box as yyyymmdd.
QString FechaAaaammdd(const QString& texto)
{
    return Vb::Mid(texto, 7, 4) + Vb::Mid(texto, 4, 2) + Vb::Mid(texto, 1, 2);
}

// A box's text with CR LF line ends, as the files and the report hold it.
QString TextoDeCaja(const QPlainTextEdit* caja)
{
    QString t = caja->toPlainText();
    return t.replace(QLatin1Char('\n'), kCrLf);
}

}

frmReporte::frmReporte(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReporte"));
    setWindowTitle(QStringLiteral("Reporte de operaciones realizadas..."));
    m_EsperaEnlace = new EsperaCliente(this);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    auto* parametros = new QWidget;
    auto* formato = new QWidget;
    SSTab1->addTab(parametros, QStringLiteral("Parametros"));
    SSTab1->addTab(formato, QStringLiteral("Formato"));

    const auto nombrar = [](QWidget* w, const char* nombre) { w->setObjectName(QString::fromLatin1(nombre)); };

    // "Filtrar por"
    fmefiltrar = new QGroupBox(QStringLiteral("Filtrar por"), parametros);
    nombrar(fmefiltrar, "fmefiltrar");
    lblOS = new QLabel(QStringLiteral("Obra Social:"), fmefiltrar);
    lblEfector = new QLabel(QStringLiteral("Efector:"), fmefiltrar);
    lblPrestador = new QLabel(QStringLiteral("Prestador:"), fmefiltrar);
    cmbObraSocial = new QComboBox(fmefiltrar);
    cmbEfector = new QComboBox(fmefiltrar);
    cmbPrestador = new QComboBox(fmefiltrar);
    nombrar(lblOS, "lblOS");
    nombrar(lblEfector, "lblEfector");
    nombrar(lblPrestador, "lblPrestador");
    nombrar(cmbObraSocial, "cmbObraSocial");
    nombrar(cmbEfector, "cmbEfector");
    nombrar(cmbPrestador, "cmbPrestador");
    cmbObraSocial->setMinimumContentsLength(12);
    cmbObraSocial->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmbPrestador->setMinimumContentsLength(30);
    cmbPrestador->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* filtros = new QGridLayout(fmefiltrar);
    filtros->addWidget(lblOS, 0, 0);
    filtros->addWidget(cmbObraSocial, 0, 1);
    filtros->addWidget(lblEfector, 1, 0);
    filtros->addWidget(cmbEfector, 1, 1);
    filtros->addWidget(lblPrestador, 2, 0);
    filtros->addWidget(cmbPrestador, 2, 1);
    filtros->setColumnStretch(1, 1);

    // "Origen de los datos"
    fmeTipoInforme = new QGroupBox(QStringLiteral("Origen de los datos"), parametros);
    nombrar(fmeTipoInforme, "fmeTipoInforme");
    auto* origen = new QVBoxLayout(fmeTipoInforme);
    const QStringList origenes = {QStringLiteral("Local"), QStringLiteral("Remoto")};
    for (int i = 0; i < origenes.size(); ++i) {
        auto* o = new QRadioButton(origenes[i], fmeTipoInforme);
        o->setObjectName(QStringLiteral("opcremoto_%1").arg(i));
        connect(o, &QRadioButton::clicked, this, [this, i] { opcremoto_Click(i); });
        opcremoto << o;
        origen->addWidget(o);
    }

    // "Ordenar por"
    fmeordenar = new QGroupBox(QStringLiteral("Ordenar por"), parametros);
    nombrar(fmeordenar, "fmeordenar");
    auto* orden = new QVBoxLayout(fmeordenar);
    const QStringList ordenes = {QStringLiteral("Prescriptor"), QStringLiteral("Efector"), QStringLiteral("Nº Transacción")};
    for (int i = 0; i < ordenes.size(); ++i) {
        auto* o = new QRadioButton(ordenes[i], fmeordenar);
        o->setObjectName(QStringLiteral("optOrdenar_%1").arg(i));
        optOrdenar << o;
        orden->addWidget(o);
    }

    // "Fecha de transacción"
    fmeFecha = new QGroupBox(QStringLiteral("Fecha de transacción"), parametros);
    nombrar(fmeFecha, "fmeFecha");
    lbldesde = new QLabel(QStringLiteral("Desde:"), fmeFecha);
    lblhasta = new QLabel(QStringLiteral("Hasta:"), fmeFecha);
    txtFecha_desde = new QLineEdit(fmeFecha);
    txtFecha_hasta = new QLineEdit(fmeFecha);
    nombrar(lbldesde, "lbldesde");
    nombrar(lblhasta, "lblhasta");
    nombrar(txtFecha_desde, "txtFecha_desde");
    nombrar(txtFecha_hasta, "txtFecha_hasta");
    for (QLineEdit* caja : {txtFecha_desde, txtFecha_hasta}) caja->setMaxLength(10);
    auto* salida = new ChequeosAlSalir(this);
    salida->Agregar(txtFecha_desde, [this] { txtFecha_desde_LostFocus(); });
    salida->Agregar(txtFecha_hasta, [this] { txtFecha_hasta_LostFocus(); });
    auto* fechas = new QGridLayout(fmeFecha);
    fechas->addWidget(lbldesde, 0, 0);
    fechas->addWidget(txtFecha_desde, 0, 1);
    fechas->addWidget(lblhasta, 1, 0);
    fechas->addWidget(txtFecha_hasta, 1, 1);

    auto* hojaParametros = new QGridLayout(parametros);
    hojaParametros->addWidget(fmefiltrar, 0, 0, 1, 2);
    hojaParametros->addWidget(fmeTipoInforme, 1, 0);
    hojaParametros->addWidget(fmeordenar, 1, 1);
    hojaParametros->addWidget(fmeFecha, 2, 0, 1, 2);
    hojaParametros->setRowStretch(3, 1);

    // "Formato"
    Label1 = new QLabel(QStringLiteral("Fuente:"), formato);
    Label2 = new QLabel(QStringLiteral("Texto de cabecera:"), formato);
    Label3 = new QLabel(QStringLiteral("Texto al pie:"), formato);
    cmbFuente = new QComboBox(formato);
    txtcabecera = new QPlainTextEdit(formato);
    txtPie = new QPlainTextEdit(formato);
    cmdGrabar = new QPushButton(QStringLiteral("Grabar"), formato);
    nombrar(Label1, "Label1");
    nombrar(Label2, "Label2");
    nombrar(Label3, "Label3");
    nombrar(cmbFuente, "cmbFuente");
    nombrar(txtcabecera, "txtcabecera");
    nombrar(txtPie, "txtPie");
    nombrar(cmdGrabar, "cmdGrabar");
    for (QPlainTextEdit* caja : {txtcabecera, txtPie}) {
        caja->setFont(modReporte::FuenteReporte(kFuente));
        caja->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
    auto* hojaFormato = new QGridLayout(formato);
    hojaFormato->addWidget(Label1, 0, 0);
    hojaFormato->addWidget(cmbFuente, 0, 1);
    hojaFormato->addWidget(cmdGrabar, 0, 2);
    hojaFormato->addWidget(Label2, 1, 0, 1, 3);
    hojaFormato->addWidget(txtcabecera, 2, 0, 1, 3);
    hojaFormato->addWidget(Label3, 3, 0, 1, 3);
    hojaFormato->addWidget(txtPie, 4, 0, 1, 3);
    hojaFormato->setColumnStretch(1, 1);

    // The option buttons.
    auto* botones = new QHBoxLayout;
    const QStringList opciones = {QStringLiteral("Vista Previa"), QStringLiteral("Imprimir"), QStringLiteral("Archivo"),
                                  QStringLiteral("Cerrar"), QStringLiteral("Cancelar")};
    for (int i = 0; i < opciones.size(); ++i) {
        auto* b = new QPushButton(opciones[i], this);
        b->setObjectName(QStringLiteral("cmdOpcion_%1").arg(i));
        b->setAutoDefault(false);
        b->setProperty(ReglasEntrada::kCierra, i >= 3);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdOpcion_Click(i); });
        cmdOpcion << b;
        botones->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(botones);
    resize(Twips::APixeles(7800), Twips::APixeles(6600));

    connect(cmbFuente, &QComboBox::activated, this, [this] { cmbFuente_Click(); });
    connect(cmbEfector, &QComboBox::activated, this, [this] { cmbEfector_Click(); });
    connect(cmdGrabar, &QPushButton::clicked, this, &frmReporte::cmdGrabar_Click);

    Form_Load();
    ReglasEntrada::PrepararVentana(this);
}

frmReporte::~frmReporte() = default;

void frmReporte::Mostrar(QWidget* parent)
{
    frmReporte form(parent);
    Dialogs::ExecModal(&form);
}

QString frmReporte::ArchivoCabecera() { return Paths::Join(Paths::DataDir(), QStringLiteral("Titulos.txt")); }
QString frmReporte::ArchivoPie() { return Paths::Join(Paths::DataDir(), QStringLiteral("Pie.txt")); }

// ---- Loading ----------------------------------------------------------------------------

void frmReporte::Form_Load()
{
    try {
        opcremoto[0]->setChecked(true);
        opcremoto_Click(0);
        CargarOpcionesEfector(cmbEfector);
        CargarObrasSociales();
        CargarPrestadores();
        const QDate hoy = Platform::Now().date();
        txtFecha_desde->setText(QDate(hoy.year(), hoy.month(), 1).toString(QStringLiteral("dd/MM/yyyy")));
        txtFecha_hasta->setText(hoy.toString(QStringLiteral("dd/MM/yyyy")));
        optOrdenar[0]->setChecked(true);

        cmbFuente->clear();
        QStringList familias = QFontDatabase::families();
        // A fixed-pitch family under the name the report was laid out for.
        if (!familias.contains(kFuente, Qt::CaseInsensitive)) familias.prepend(kFuente);
        cmbFuente->addItems(familias);
        cmbFuente->setCurrentIndex(cmbFuente->findText(kFuente, Qt::MatchFixedString));

        txtcabecera->setPlainText(LeerTexto(ArchivoCabecera()));
        txtPie->setPlainText(LeerTexto(ArchivoPie()));
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical);
    }
}

QString frmReporte::LeerTexto(const QString& archivo)
{
    // Through the bounded reader: a pipe at the name is refused, never waited on.
    int e = 0;
    const std::optional<QByteArray> datos = SinEnlaces::LeerArchivo(archivo, SinEnlaces::kLimiteTexto, &e);
    if (datos) return Lineas::Separar(Codec1252::decode(*datos)).join(QLatin1Char('\n'));
    if (e != ENOENT)
        throw VbError(75, QStringLiteral("frmReporte"), archivo + QStringLiteral(": ") + SinEnlaces::DescribirError(e));
    QDir().mkpath(QFileInfo(archivo).path());
    QString error;
    if (!EscrituraSegura::EscribirArchivo(archivo, QByteArray(), &error, false, EscrituraSegura::Modo::Propio))
        throw VbError(75, QStringLiteral("frmReporte"), archivo + QStringLiteral(": ") + error);
    return QString();
}

void frmReporte::GrabarTexto(const QString& archivo, const QString& texto)
{
    QDir().mkpath(QFileInfo(archivo).path());
    QString error;
    if (!EscrituraSegura::EscribirArchivo(archivo, Codec1252::encode(Codec1252::toRepresentable(texto)), &error,
                                          false, EscrituraSegura::Modo::Propio))
        throw VbError(75, QStringLiteral("frmReporte"),
                      QStringLiteral("No se pudo grabar el archivo %1: %2").arg(archivo, error));
}

void frmReporte::CargarOpcionesEfector(QComboBox* combo)
{
    combo->clear();
    combo->addItems({kTodos, kAlgunos});
    combo->setCurrentIndex(0);
}

void frmReporte::CargarObrasSociales()
{
    clsLog log;
    DbResult rs = log.TxGenerica()->Resolver_sql(QStringLiteral("Select * from ObrasSociales"));
    cmbObraSocial->clear();
    for (; !rs.EOF_(); rs.MoveNext())
        cmbObraSocial->addItem(Vb::CStr(rs.value(0)) + QString(100, QLatin1Char(' ')) + Vb::CStr(rs.value(4)));
    if (cmbObraSocial->count() > 0) cmbObraSocial->setCurrentIndex(0);
}

void frmReporte::CargarPrestadores()
{
    clsLog log;
    DbResult rs = log.TxGenerica()->Resolver_sql(QStringLiteral("Select * from Prestadores"));
    cmbPrestador->clear();
    for (; !rs.EOF_(); rs.MoveNext())
        cmbPrestador->addItem(QLatin1Char('(') + modCuit::FormaCuitNumero(rs.value(2)) + QStringLiteral(") ") +
                              Vb::CStr(rs.value(1)));
    if (cmbPrestador->count() > 0) cmbPrestador->setCurrentIndex(0);
}

// ---- Handlers ---------------------------------------------------------------------------

void frmReporte::cmbFuente_Click()
{
    const QFont fuente = modReporte::FuenteReporte(cmbFuente->currentText());
    txtcabecera->setFont(fuente);
    txtPie->setFont(fuente);
}

void frmReporte::cmdGrabar_Click()
{
    try {
        GrabarTexto(ArchivoCabecera(), TextoDeCaja(txtcabecera));
        GrabarTexto(ArchivoPie(), TextoDeCaja(txtPie));
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical);
    }
}

void frmReporte::opcremoto_Click(int Index)
{
    lblEfector->setEnabled(Index == 0);
    cmbEfector->setEnabled(Index == 0);
}

void frmReporte::cmbEfector_Click()
{
    try {
        clsMultiselec selector;
        if (cmbEfector->currentText() != kAlgunos) return;
        selector.sql_Disponibles = QStringLiteral("Select * from efectores");
        selector.int_CampoClave = 0;
        selector.int_CampoDetalle = 1;
        selector.sTitulo = QStringLiteral("efectores");
        m_EfectoresSeleccionados = selector.Seleccionar();
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical);
    }
}

bool frmReporte::RevisarFecha(QLineEdit* caja)
{
    if (Vb::ParseDate(caja->text()).isValid()) return true;
    Dialogs::MsgBox(kFechaIncorrecta, Vbc::vbInformation);
    caja->setFocus();
    return false;
}

void frmReporte::txtFecha_desde_LostFocus() { RevisarFecha(txtFecha_desde); }
void frmReporte::txtFecha_hasta_LostFocus() { RevisarFecha(txtFecha_hasta); }

void frmReporte::Ocupar(bool ocupado)
{
    // While an exchange waits only "Cancelar" answers: another click would build a second
    // report under the running one.
    m_Ocupado = ocupado;
    for (int i = 0; i < 4; ++i) cmdOpcion[i]->setEnabled(!ocupado);
}

void frmReporte::reject()
{
    if (m_Ocupado) {
        cmdOpcion_Click(4);
        return;
    }
    QDialog::reject();
}

void frmReporte::cmdOpcion_Click(int Index)
{
    if (Index == 4) {
        m_CancelarConsulta = true;
        if (m_EsperaEnlace->Esperando()) m_EsperaEnlace->Cancelar();
        return;
    }
    if (m_Ocupado) return;
    if (Index == 3) {
        QDialog::reject();
        return;
    }
    try {
        m_Reporte = std::make_unique<clsReporte>();
        m_Log = std::make_shared<clsLog>();
        m_CancelarConsulta = false;
        // Checked at the click too: a box changed without leaving it builds nothing.
        if (RevisarFecha(txtFecha_desde) && RevisarFecha(txtFecha_hasta) && GenerarReporte()) {
            const QString texto = m_Reporte->strReport_txt;
            if (Index == 0) VistaPrevia(texto);
            else if (Index == 1) Imprimir(texto);
            else if (Index == 2) GuardarArchivo(texto);
        }
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QString::fromLocal8Bit(e.what()), Vbc::vbCritical);
    }
    m_Reporte.reset();
    m_Log.reset();
}

// ---- The report -------------------------------------------------------------------------

bool frmReporte::GenerarReporte()
{
    clsReporte& r = *m_Reporte;
    r.conexion = m_Log;
    r.Origen = opcremoto[0]->isChecked() ? 0 : 1;
    r.strFecha_Desde = txtFecha_desde->text();
    r.strFecha_Hasta = txtFecha_hasta->text();
    r.strObraSocial = QStringLiteral("OSDE");
    r.strCabecera = TextoDeCaja(txtcabecera);
    r.strPrestador = cmbPrestador->currentText();
    for (QRadioButton* o : optOrdenar)
        if (o->isChecked()) r.strOrdenar_por = o->text();
    r.strPie = TextoDeCaja(txtPie);
    if (r.Origen == 0) {
        r.strTituloDetalle = TituloDetalleLocal();
        const ConsultaReporte consulta = ArmarConsultaReporte();
        r.strsSql_Detalle = consulta.Sql;
        r.valoresSql_Detalle = consulta.Valores;
    } else if (!ConsultaRemota()) {
        return false;
    }
    r.Make_Report_txt();
    return true;
}

frmReporte::ConsultaReporte frmReporte::ArmarConsultaReporte()
{
    ConsultaReporte c;
    const QString seleccion = QStringLiteral(" Select ") +
                              QStringLiteral("numerotransaccion,idterminal,fechatransaccion,auatrc,autrac,") +
                              QStringLiteral("autmat,aunmat,") + QStringLiteral("efectores.nombre,aucefe,") +
                              QStringLiteral("aufila,auasoa,aubena,audiga,nombreafiliado ");
    const QString desde = QStringLiteral(" From tosde_svl1, efectores ");
    QString donde = QStringLiteral(" WHERE tosde_svl1.aucefe = efectores.cuit ");
    if (cmbObraSocial->count() > 0) {
        // The log keeps the insurer's AUISOA as six digits at least: the text compared is
        // written by the same pattern ("0" becomes "000000", as rows logged without one).
        donde += QStringLiteral(" and auisoa = ?");
        c.Valores << CMsgRequerimientoPOS::AUISOARegistrado(
            std::llround(Vb::Val(Vb::Trim(Vb::Right(cmbObraSocial->currentText(), 15)))));
    }
    if (cmbEfector->currentText() == kAlgunos) {
        if (m_EfectoresSeleccionados.isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar al menos un efector"), Vbc::vbInformation);
            return {};
        }
        QStringList marcas;
        for (const frmMultiselect::Item& item : m_EfectoresSeleccionados) {
            marcas << QStringLiteral("?");
            c.Valores << ValoresBD::NumeroParaGuardar(item.Texto);
        }
        donde += QStringLiteral(" and idefector in (") + marcas.join(QLatin1Char(',')) + QStringLiteral(") ");
    }
    donde += QStringLiteral(" and aucuit = ? ");
    c.Valores << CuitDelPrestador(cmbPrestador->currentText());
    // The log keeps its dates as yyyymmdd texts, which compare in date order.
    donde += QStringLiteral(" and fechatransaccion >= ? and fechatransaccion <= ? ");
    c.Valores << Vb::ParseDate(txtFecha_desde->text()).toString(QStringLiteral("yyyyMMdd"))
              << Vb::ParseDate(txtFecha_hasta->text()).toString(QStringLiteral("yyyyMMdd"));
    QString orden = QStringLiteral(" ORDER BY ");
    if (optOrdenar[0]->isChecked()) orden += QStringLiteral(" autmat");
    else if (optOrdenar[1]->isChecked()) orden += QStringLiteral(" efectores.nombre");
    else if (optOrdenar[2]->isChecked()) orden += QStringLiteral(" NumeroTransaccion");
    c.Sql = seleccion + desde + donde + orden;
    return c;
}

bool frmReporte::ConsultaRemota()
{
    struct Ocupacion {
        frmReporte* f;
        explicit Ocupacion(frmReporte* form) : f(form) { f->Ocupar(true); }
        ~Ocupacion() { f->Ocupar(false); }
    } ocupacion(this);

    const QString sTerm = modReporte::DirectorioReporte;
    // A folder that cannot be made shows in the link test, which cannot write into it.
    CarpetaTerminal(General::DirectorioTrabajo, sTerm).Crear();
    if (!modReporte::VerificarComunicacion(sTerm, m_EsperaEnlace)) {
        if (m_CancelarConsulta) m_CancelarConsulta = false;
        else
            Dialogs::MsgBox(QStringLiteral("El Cliente DRUVEX no está corriendo. La consulta no se puede realizar."),
                            Vbc::vbInformation);
        return false;
    }
    clsMsgReporte mensaje;
    mensaje.Cuit = CuitDelPrestador(cmbPrestador->currentText());
    mensaje.FechaDesde = FechaAaaammdd(txtFecha_desde->text());
    mensaje.FechaHasta = FechaAaaammdd(txtFecha_hasta->text());
    try {
        mensaje.EscribirArchivo(QStringLiteral("_sal.0"), sTerm);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("%1 : %2").arg(e.number).arg(e.description), Vbc::vbCritical);
        return false;
    }
    bool sal0 = true;
    if (!mensaje.EnviarTransaccion(0, sTerm, sal0)) return false;
    if (m_CancelarConsulta) return false;
    frmProcesando espera(this);
    if (!espera.Cargar()) return false;
    bool correcto = false;
    mensaje.Respuesta(sTerm, correcto);
    try {
        mensaje.LeerArchivos(sTerm);
    } catch (const VbError& e) {
        Dialogs::MsgBox(e.description, Vbc::vbCritical);
        return false;
    }
    m_Reporte->strDetalle = mensaje.Msg_respuesta;
    return true;
}

// ---- Output -----------------------------------------------------------------------------

void frmReporte::VistaPrevia(const QString& texto)
{
    frmTransacciones vista(this);
    vista.txtReporte->setPlainText(QString(texto).replace(kCrLf, QStringLiteral("\n")));
    vista.txtReporte->setFont(modReporte::FuenteReporte(cmbFuente->currentText()));
    Dialogs::ExecModal(&vista);
}

void frmReporte::Imprimir(const QString& texto)
{
    std::unique_ptr<PrintBackend> trabajo = Printing::CrearBackend();
    if (!trabajo->begin(Printing::ImpresoraActiva())) {
        Dialogs::MsgBox(QStringLiteral("No se pudo imprimir el reporte: ") + trabajo->lastError(), Vbc::vbCritical);
        return;
    }
    trabajo->setFontName(cmbFuente->currentText());
    for (const QString& linea : Printing::LineasDeTexto(texto)) trabajo->printLine(linea);
    if (!trabajo->end())
        Dialogs::MsgBox(QStringLiteral("No se pudo imprimir el reporte: ") + trabajo->lastError(), Vbc::vbCritical);
}

void frmReporte::GuardarArchivo(const QString& texto)
{
    OpcionesGuardar opciones;
    opciones.extension = QStringLiteral("rpt");
    opciones.confirmarReemplazo = false;
    const QString archivo =
        Dialogs::SaveFileName(QStringLiteral("Guardar reporte"), QString(),
                              QStringLiteral("Informes (*.rpt);;Todos los archivos (*.*)"), opciones);
    if (archivo.isEmpty()) return;
    if (QFileInfo::exists(archivo) &&
        Dialogs::MsgBox(QStringLiteral("El archivo ya existe, desea reemplazarlo ?"), Vbc::vbYesNo | Vbc::vbQuestion) !=
            Vbc::vbYes)
        return;
    GrabarTexto(archivo, texto);
}
