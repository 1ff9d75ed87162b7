#include "shell/frmConfigurar.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/GeneralCombos.h"
#include "config/clsConfig.h"
#include "config/clsDelimitador.h"
#include "config/clsEfector.h"
#include "config/clsObraSocial.h"
#include "config/clsOperacion.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "platform/AjustesUsuario.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Printers.h"
#include "platform/Printing.h"
#include "platform/Salida.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "shell/DependenciasOperaciones.h"
#include "shell/DirectoriosRecientes.h"
#include "shell/GeneralPrincipal.h"
#include "shell/frmMain.h"
#include "shell/modImpresoras.h"
#include "shell/modVentanas.h"
#include "platform/ReglasEntrada.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

using FilasConfiguracion::Fila;

namespace {

constexpr int kTeclaF5 = 116;
constexpr int kTeclaEnter = 13;
constexpr int kRolIcono = Qt::UserRole + 1;
constexpr int kRolClave = Qt::UserRole + 2;
constexpr int kRolTipo = Qt::UserRole + 3;
const QString kModoOculto = QStringLiteral("KESTRIMA");
const QString kFuentePredeterminada = QStringLiteral("Predeterminada");
const QString kMensajeInvalido = QStringLiteral("Los datos ingresados son inválidos.");

QPointer<frmConfigurar> g_instancia;

constexpr int kDigitosCuit = 11;

template <class W>
W* Control(QWidget* padre, const char* nombre)
{
    auto* w = new W(padre);
    w->setObjectName(QString::fromUtf8(nombre));
    return w;
}

QIcon Dibujo(const std::function<void(QPainter&)>& dibujar)
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    dibujar(g);
    return QIcon(p);
}

QIcon Flecha(bool abajo)
{
    return Dibujo([abajo](QPainter& g) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(40, 90, 170));
        const QPolygon t = abajo ? QPolygon({QPoint(3, 5), QPoint(13, 5), QPoint(8, 12)})
                                 : QPolygon({QPoint(3, 11), QPoint(13, 11), QPoint(8, 4)});
        g.drawPolygon(t);
    });
}

QIcon Marca(const QColor& color)
{
    return Dibujo([color](QPainter& g) {
        g.setPen(QPen(color, 2.5));
        g.drawPolyline(QPolygon({QPoint(3, 8), QPoint(7, 12), QPoint(13, 4)}));
    });
}

QIcon Cruz()
{
    return Dibujo([](QPainter& g) {
        g.setPen(QPen(QColor(190, 30, 30), 2.5));
        g.drawLine(4, 4, 12, 12);
        g.drawLine(12, 4, 4, 12);
    });
}

QIcon Estrella()
{
    return Dibujo([](QPainter& g) {
        g.setPen(QPen(QColor(150, 110, 0), 1));
        g.setBrush(QColor(250, 200, 30));
        QPolygonF e;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 3.0 : 7.0;
            const double a = -M_PI / 2 + i * M_PI / 5;
            e << QPointF(8 + r * std::cos(a), 8 + r * std::sin(a));
        }
        g.drawPolygon(e);
    });
}

// A choice-only list shows `texto`: its entry, or an extra entry when the list lacks it, so a
// stored value the list does not offer is shown and kept rather than stopping the loading.
void ElegirOAgregar(QComboBox* combo, const QString& texto)
{
    int i = combo->findText(texto, Qt::MatchExactly);
    if (i < 0) {
        combo->addItem(texto);
        i = combo->count() - 1;
    }
    combo->setCurrentIndex(i);
}

// An editable list shows `texto`: the entry it names becomes the chosen one, any other text
// is only typed in, never added.
void PonerTexto(QComboBox* combo, const QString& texto)
{
    const int i = combo->findText(texto, Qt::MatchExactly);
    if (i >= 0) combo->setCurrentIndex(i);
    else combo->setEditText(texto);
}

// A folder the program puts in the box is read from its start, the end cut off when it is long.
void PonerCarpeta(QComboBox* combo, const QString& carpeta)
{
    PonerTexto(combo, carpeta);
    combo->lineEdit()->setCursorPosition(0);
}

QComboBox* Editable(QComboBox* combo)
{
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QTreeWidget* Lista(QTreeWidget* lista)
{
    lista->setRootIsDecorated(false);
    lista->setUniformRowHeights(true);
    lista->setAllColumnsShowFocus(true);
    lista->setSelectionMode(QAbstractItemView::SingleSelection);
    lista->setIconSize(QSize(16, 16));
    return lista;
}

void Columnas(QTreeWidget* lista, const QList<FilasConfiguracion::Columna>& columnas)
{
    QStringList titulos;
    for (const auto& c : columnas) titulos << c.titulo;
    lista->setColumnCount(titulos.size());
    lista->setHeaderLabels(titulos);
    const QFontMetrics fm(lista->font());
    for (int i = 0; i < columnas.size(); ++i) {
        const int ancho = FilasConfiguracion::AnchoColumna(fm, columnas.at(i));
        lista->setColumnHidden(i, ancho == 0);
        if (ancho > 0) lista->header()->resizeSection(i, Twips::APixeles(ancho));
    }
}

clsConfig& Configuracion()
{
    if (!General::gConfig)
        throw VbError(91, QStringLiteral("frmConfigurar"),
                      QStringLiteral("Variable de objeto o bloque With no establecido"));
    return *General::gConfig;
}

// The configuration's insurers, an empty collection when it holds none yet.
std::shared_ptr<Coleccion<clsObraSocial>> ObrasSociales()
{
    clsConfig& cfg = Configuracion();
    auto obras = cfg.ObrasSociales();
    if (!obras) {
        obras = std::make_shared<Coleccion<clsObraSocial>>();
        cfg.setObrasSociales(obras);
    }
    return obras;
}

}

frmConfigurar::frmConfigurar(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConfigurar"));
    setWindowTitle(QStringLiteral("Configuración"));
    Imglist = {{QStringLiteral("predeterminado"), Estrella()},
               {QStringLiteral("bajar"), Flecha(true)},
               {QStringLiteral("subir"), Flecha(false)}};
    imgOperaciones = {{QStringLiteral("Si"), Marca(QColor(20, 140, 40))}, {QStringLiteral("No"), Cruz()}};
    CrearControles();
    const QSize t = TamanoVentana();
    resize(Twips::APixeles(t.width()), Twips::APixeles(t.height()));
    g_instancia = this;
    ReglasEntrada::PrepararVentana(this);
}

frmConfigurar::~frmConfigurar()
{
    if (g_instancia == this) g_instancia = nullptr;
}

QSize frmConfigurar::TamanoVentana() { return QSize(11400, 7650); }

EstadoConfigurar& frmConfigurar::Estado()
{
    static EstadoConfigurar estado;
    return estado;
}

frmConfigurar* frmConfigurar::Instancia() { return g_instancia; }

void frmConfigurar::Mostrar(bool bFirstRun)
{
    Estado().bFirstRun = bFirstRun;
    frmConfigurar ventana(frmMain::Instancia());
    ventana.Form_Load();
    Dialogs::ExecModal(&ventana);
}

void frmConfigurar::CrearControles()
{
    tabConfiguracion = Control<QTabWidget>(this, "tabConfiguracion");
    cmdAceptar = Control<QPushButton>(this, "cmdAceptar");
    cmdAceptar->setText(QStringLiteral("Aceptar"));
    cmdCancelar = Control<QPushButton>(this, "cmdCancelar");
    cmdCancelar->setText(QStringLiteral("Cancelar"));
    auto* principal = new QVBoxLayout(this);
    principal->addWidget(tabConfiguracion);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    principal->addLayout(botones);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmConfigurar::cmdCancelar_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmConfigurar::cmdAceptar_Click);

    auto etiqueta = [](QWidget* padre, const QString& texto, QWidget* para = nullptr) {
        auto* l = new QLabel(texto, padre);
        if (para) l->setBuddy(para);
        return l;
    };
    auto boton = [](QWidget* padre, const char* nombre, const QString& texto, const QString& ayuda = QString()) {
        auto* b = Control<QPushButton>(padre, nombre);
        b->setText(texto);
        b->setToolTip(ayuda);
        b->setAutoDefault(false);
        return b;
    };

    // 0 "Directorio"
    auto* t0 = new QWidget;
    cboDirectorio = Editable(Control<QComboBox>(t0, "cboDirectorio"));
    cboDirectorio->setMinimumContentsLength(40);
    cmdDir = boton(t0, "cmdDir", QStringLiteral("..."));
    cmdAplicar = boton(t0, "cmdAplicar", QStringLiteral("Aplicar"));
    frmTerminal = Control<QGroupBox>(t0, "frmTerminal");
    frmTerminal->setTitle(QStringLiteral("Terminal"));
    txtDireccionTerminal = Control<QLineEdit>(frmTerminal, "txtDireccionTerminal");
    txtTelefonoTerminal = Control<QLineEdit>(frmTerminal, "txtTelefonoTerminal");
    txtLatitud = Control<QLineEdit>(frmTerminal, "txtLatitud");
    txtLongitud = Control<QLineEdit>(frmTerminal, "txtLongitud");
    {
        auto* g = new QGridLayout(t0);
        g->addWidget(etiqueta(t0, QStringLiteral("Directorio de Trabajo:"), cboDirectorio), 0, 0);
        g->addWidget(cboDirectorio, 1, 0);
        g->addWidget(cmdDir, 1, 1);
        g->addWidget(cmdAplicar, 1, 2);
        auto* gt = new QGridLayout(frmTerminal);
        const QStringList textos = {QStringLiteral("Dirección"), QStringLiteral("Teléfono"), QStringLiteral("Latitud"),
                                    QStringLiteral("Longitud")};
        const QList<QLineEdit*> cajas = {txtDireccionTerminal, txtTelefonoTerminal, txtLatitud, txtLongitud};
        for (int i = 0; i < 4; ++i) {
            auto* l = etiqueta(frmTerminal, textos.at(i), cajas.at(i));
            l->setObjectName(QStringLiteral("Label3"));
            Label3 << l;
            gt->addWidget(l, i, 0);
            gt->addWidget(cajas.at(i), i, 1);
        }
        g->addWidget(frmTerminal, 2, 0, 1, 3);
        g->setRowStretch(3, 1);
    }
    tabConfiguracion->addTab(t0, QStringLiteral("Directorio"));

    // 1 "Financiador"
    auto* t1 = new QWidget;
    lvwObraSocial = Lista(Control<QTreeWidget>(t1, "lvwObraSocial"));
    Columnas(lvwObraSocial, FilasConfiguracion::ColumnasObrasSociales());
    txtNombreOS = Control<QLineEdit>(t1, "txtNombreOS");
    txtAUISOA = Control<QLineEdit>(t1, "txtAUISOA");
    txtEmpresa = Control<QLineEdit>(t1, "txtEmpresa");
    txtEmpresa->setMaxLength(2);
    txtActividad = Control<QLineEdit>(t1, "txtActividad");
    txtActividad->setMaxLength(2);
    txtFilialOS = Control<QLineEdit>(t1, "txtFilialOS");
    optTransLocal = Control<QRadioButton>(t1, "optTransLocal");
    optTransLocal->setText(QStringLiteral("Transacción local"));
    optTransOnLine = Control<QRadioButton>(t1, "optTransOnLine");
    optTransOnLine->setText(QStringLiteral("Transacción on-line"));
    chkUtilizaCSC = Control<QCheckBox>(t1, "chkUtilizaCSC");
    chkUtilizaCSC->setText(QStringLiteral("Utiliza CSC"));
    chkCodigoInterno = Control<QCheckBox>(t1, "chkCodigoInterno");
    chkCodigoInterno->setText(QStringLiteral("Utiliza código interno"));
    chkCodigoInterno->setHidden(true);
    cmdAgregarOS = boton(t1, "cmdAgregarOS", QStringLiteral("Agregar"), QStringLiteral("Agregar obra social"));
    cmdEliminarOS = boton(t1, "cmdEliminarOS", QStringLiteral("Quitar"), QStringLiteral("Quitar obra social"));
    txtNombreOS->installEventFilter(this);
    cmdAgregarOS->setIcon(Imglist.value(1).second);
    cmdEliminarOS->setIcon(Imglist.value(2).second);
    {
        auto* g = new QGridLayout(t1);
        g->addWidget(etiqueta(t1, QStringLiteral("Obra Social"), lvwObraSocial), 0, 0, 1, 4);
        g->addWidget(lvwObraSocial, 1, 0, 1, 4);
        g->addWidget(etiqueta(t1, QStringLiteral("Nombre Obra Social:"), txtNombreOS), 2, 0);
        g->addWidget(txtNombreOS, 2, 1);
        g->addWidget(etiqueta(t1, QStringLiteral("Nº ISO Emisor de Credencial:"), txtAUISOA), 2, 2);
        g->addWidget(txtAUISOA, 2, 3);
        g->addWidget(etiqueta(t1, QStringLiteral("Código de Empresa:"), txtEmpresa), 3, 0);
        g->addWidget(txtEmpresa, 3, 1);
        g->addWidget(etiqueta(t1, QStringLiteral("Código de Actividad:"), txtActividad), 3, 2);
        g->addWidget(txtActividad, 3, 3);
        g->addWidget(etiqueta(t1, QStringLiteral("Filial:"), txtFilialOS), 4, 0);
        g->addWidget(txtFilialOS, 4, 1);
        g->addWidget(chkUtilizaCSC, 4, 2);
        g->addWidget(chkCodigoInterno, 4, 3);
        g->addWidget(optTransLocal, 5, 0);
        g->addWidget(optTransOnLine, 5, 1);
        auto* b = new QHBoxLayout;
        b->addStretch();
        b->addWidget(cmdAgregarOS);
        b->addWidget(cmdEliminarOS);
        g->addLayout(b, 5, 2, 1, 2);
    }
    tabConfiguracion->addTab(t1, QStringLiteral("Financiador"));

    // 2 "Prestador"
    auto* t2 = new QWidget;
    lvwPrestadores = Lista(Control<QTreeWidget>(t2, "lvwPrestadores"));
    txtNombre = Control<QLineEdit>(t2, "txtNombre");
    txtCUIT = Control<QLineEdit>(t2, "txtCUIT");
    // Digits only, typed or pasted: a pasted "20-12345678-9" is refused whole, not cut down.
    txtCUIT->setMaxLength(kDigitosCuit);
    ReglasEntrada::ReglaDeCaracteres(txtCUIT, [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    txtcodigoOSDE = Control<QLineEdit>(t2, "txtcodigoOSDE");
    txtcodigoOSDE->setMaxLength(6);
    txtFilial = Control<QLineEdit>(t2, "txtFilial");
    txtLicencia = Control<QLineEdit>(t2, "txtLicencia");
    txtLicencia->setHidden(true);
    cmbTipo = Control<QComboBox>(t2, "cmbTipo");
    cmbTipo->addItems(FilasConfiguracion::TiposPrestador());
    cmbTipo->setCurrentIndex(-1);
    chkPrescripcion = Control<QCheckBox>(t2, "chkPrescripcion");
    chkPrescripcion->setText(QStringLiteral("Requiere &Prescripción"));
    chkAdmisores = Control<QCheckBox>(t2, "chkAdmisores");
    chkAdmisores->setText(QStringLiteral("Médico Admisor"));
    chkAdmisores->setHidden(true);
    cmbpredeterminado = boton(t2, "cmbpredeterminado", QStringLiteral("Predeterminado"));
    cmbpredeterminado->setIcon(Imglist.value(0).second);
    cmdAgregarLicencia = boton(t2, "cmdAgregarLicencia", QStringLiteral("Agregar"), QStringLiteral("Agregar prestador"));
    cmdAgregarLicencia->setIcon(Imglist.value(1).second);
    cmdEliminarLicencia = boton(t2, "cmdEliminarLicencia", QStringLiteral("Quitar"),
                                QStringLiteral("Quitar el prestador para editarlo"));
    cmdEliminarLicencia->setIcon(Imglist.value(2).second);
    {
        auto* g = new QGridLayout(t2);
        g->addWidget(etiqueta(t2, QStringLiteral("Prestadores:"), lvwPrestadores), 0, 0, 1, 4);
        g->addWidget(lvwPrestadores, 1, 0, 1, 4);
        g->addWidget(etiqueta(t2, QStringLiteral("&Nombre:"), txtNombre), 2, 0);
        g->addWidget(txtNombre, 2, 1);
        g->addWidget(etiqueta(t2, QStringLiteral("&CUIT:"), txtCUIT), 2, 2);
        g->addWidget(txtCUIT, 2, 3);
        g->addWidget(etiqueta(t2, QStringLiteral("C&ódigo:"), txtcodigoOSDE), 3, 0);
        g->addWidget(txtcodigoOSDE, 3, 1);
        g->addWidget(etiqueta(t2, QStringLiteral("Filial:"), txtFilial), 3, 2);
        g->addWidget(txtFilial, 3, 3);
        g->addWidget(etiqueta(t2, QStringLiteral("Tipo:"), cmbTipo), 4, 0);
        g->addWidget(cmbTipo, 4, 1);
        g->addWidget(chkPrescripcion, 4, 2);
        g->addWidget(chkAdmisores, 4, 3);
        g->addWidget(txtLicencia, 5, 0);
        auto* b = new QHBoxLayout;
        b->addWidget(cmbpredeterminado);
        b->addStretch();
        b->addWidget(cmdAgregarLicencia);
        b->addWidget(cmdEliminarLicencia);
        g->addLayout(b, 5, 1, 1, 3);
    }
    tabConfiguracion->addTab(t2, QStringLiteral("Prestador"));

    // 3 "Efector"
    auto* t3 = new QWidget;
    lvwEfectores = Lista(Control<QTreeWidget>(t3, "lvwEfectores"));
    txtidEfector = Control<QLineEdit>(t3, "txtidEfector");
    txtidEfector->setHidden(true);
    txtNombreEfector = Control<QLineEdit>(t3, "txtNombreEfector");
    txtCuitEfector = Control<QLineEdit>(t3, "txtCuitEfector");
    txtCuitEfector->setMaxLength(13);
    txtMatriculaEfector = Control<QLineEdit>(t3, "txtMatriculaEfector");
    txtMatriculaEfector->setMaxLength(6);
    cboEspecialidadEfector = Control<QComboBox>(t3, "cboEspecialidadEfector");
    cboTipoMatriculaEfector = Editable(Control<QComboBox>(t3, "cboTipoMatriculaEfector"));
    cboProvinciaEfector = Editable(Control<QComboBox>(t3, "cboProvinciaEfector"));
    chkBajaEfector = Control<QCheckBox>(t3, "chkBajaEfector");
    chkBajaEfector->setText(QStringLiteral("Baja"));
    cmdEditarEfector = boton(t3, "cmdEditarEfector", QStringLiteral("Editar"), QStringLiteral("Editar el efector"));
    cmdEditarEfector->setIcon(Imglist.value(2).second);
    cmdGuardarEfector = boton(t3, "cmdGuardarEfector", QStringLiteral("Guardar"), QStringLiteral("Guardar el efector"));
    cmdGuardarEfector->setIcon(Imglist.value(1).second);
    {
        auto* g = new QGridLayout(t3);
        g->addWidget(etiqueta(t3, QStringLiteral("Efectores:"), lvwEfectores), 0, 0, 1, 4);
        g->addWidget(lvwEfectores, 1, 0, 1, 4);
        g->addWidget(etiqueta(t3, QStringLiteral("&Nombre:"), txtNombreEfector), 2, 0);
        g->addWidget(txtNombreEfector, 2, 1);
        g->addWidget(etiqueta(t3, QStringLiteral("Cuit:"), txtCuitEfector), 2, 2);
        auto* cuit = new QHBoxLayout;
        cuit->addWidget(txtCuitEfector);
        cuit->addWidget(new QLabel(QStringLiteral("(xx-xxxxxxxx-x)"), t3));
        g->addLayout(cuit, 2, 3);
        g->addWidget(etiqueta(t3, QStringLiteral("Matrícula:"), txtMatriculaEfector), 3, 0);
        g->addWidget(txtMatriculaEfector, 3, 1);
        g->addWidget(etiqueta(t3, QStringLiteral("Tipo:"), cboTipoMatriculaEfector), 3, 2);
        auto* tipo = new QHBoxLayout;
        tipo->addWidget(cboTipoMatriculaEfector);
        tipo->addWidget(cboProvinciaEfector);
        g->addLayout(tipo, 3, 3);
        g->addWidget(etiqueta(t3, QStringLiteral("Espec.:"), cboEspecialidadEfector), 4, 0);
        g->addWidget(cboEspecialidadEfector, 4, 1);
        g->addWidget(chkBajaEfector, 4, 2);
        g->addWidget(txtidEfector, 5, 0);
        auto* b = new QHBoxLayout;
        b->addStretch();
        b->addWidget(cmdEditarEfector);
        b->addWidget(cmdGuardarEfector);
        g->addLayout(b, 5, 1, 1, 3);
    }
    tabConfiguracion->addTab(t3, QStringLiteral("Efector"));

    // 4 "Varios"
    auto* t4 = new QWidget;
    chkTimer = Control<QCheckBox>(t4, "chkTimer");
    chkTimer->setText(QStringLiteral("Timer"));
    chkTimer->setHidden(true);
    cboDelimitadores = Editable(Control<QComboBox>(t4, "cboDelimitadores"));
    cmbDB = Control<QComboBox>(t4, "cmbDB");
    cmbDB->addItems({QStringLiteral("Access"), QStringLiteral("PostgreSQL")});
    chkIngresoAutomatico = Control<QCheckBox>(t4, "chkIngresoAutomatico");
    chkIngresoAutomatico->setText(QStringLiteral("Tipo Ingreso Nº Afiliado:  AUTOMATICO"));
    {
        auto* g = new QGridLayout(t4);
        g->addWidget(etiqueta(t4, QStringLiteral("Delimitador de campo para transacciones off-line"), cboDelimitadores),
                     0, 0);
        g->addWidget(cboDelimitadores, 0, 1);
        g->addWidget(etiqueta(t4, QStringLiteral("Base de datos:"), cmbDB), 1, 0);
        g->addWidget(cmbDB, 1, 1);
        g->addWidget(chkIngresoAutomatico, 2, 0, 1, 2);
        g->addWidget(chkTimer, 3, 0);
        g->setRowStretch(4, 1);
        g->setColumnStretch(2, 1);
    }
    tabConfiguracion->addTab(t4, QStringLiteral("Varios"));

    // 5 "Impresora"
    auto* t5 = new QWidget;
    lstImpresoras = Control<QListWidget>(t5, "lstImpresoras");
    lstImpresoras->installEventFilter(this);
    chkImprimir = Control<QCheckBox>(t5, "chkImprimir");
    chkImprimir->setText(QStringLiteral("Imprimir Ticket"));
    cmbCopias = Control<QComboBox>(t5, "cmbCopias");
    for (int i = 1; i <= 5; ++i) cmbCopias->addItem(QString::number(i));
    cmbLargoHoja = Control<QComboBox>(t5, "cmbLargoHoja");
    cmbFuente = Control<QComboBox>(t5, "cmbFuente");
    cmbTamaño = Control<QComboBox>(t5, "cmbTamaño");
    {
        auto* g = new QGridLayout(t5);
        g->addWidget(etiqueta(t5, QStringLiteral("Impresora:"), lstImpresoras), 0, 0, 1, 2);
        g->addWidget(lstImpresoras, 1, 0, 1, 2);
        g->addWidget(chkImprimir, 2, 0, 1, 2);
        g->addWidget(etiqueta(t5, QStringLiteral("Cantidad de copias:"), cmbCopias), 3, 0);
        g->addWidget(cmbCopias, 3, 1);
        g->addWidget(etiqueta(t5, QStringLiteral("Líneas por ticket:"), cmbLargoHoja), 4, 0);
        g->addWidget(cmbLargoHoja, 4, 1);
        g->addWidget(etiqueta(t5, QStringLiteral("Fuente:"), cmbFuente), 5, 0);
        g->addWidget(cmbFuente, 5, 1);
        g->addWidget(etiqueta(t5, QStringLiteral("Tamaño:"), cmbTamaño), 6, 0);
        g->addWidget(cmbTamaño, 6, 1);
        g->setColumnStretch(1, 1);
    }
    tabConfiguracion->addTab(t5, QStringLiteral("Impresora"));

    // 6 "Operaciones"
    auto* t6 = new QWidget;
    lvwOperaciones = Lista(Control<QTreeWidget>(t6, "lvwOperaciones"));
    lvwOperaciones->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwOperaciones->setColumnCount(3);
    lvwOperaciones->setHeaderLabels({QStringLiteral("Código"), QStringLiteral("Nombre"), QStringLiteral("Descripción")});
    lvwOperaciones->header()->resizeSection(0, 80);
    lvwOperaciones->header()->resizeSection(1, 220);
    (new QVBoxLayout(t6))->addWidget(lvwOperaciones);
    tabConfiguracion->addTab(t6, QStringLiteral("Operaciones"));

    // 7 "Actualizar"
    auto* t7 = new QWidget;
    Frame2 = Control<QGroupBox>(t7, "Frame2");
    Frame2->setTitle(QStringLiteral("Actualizar"));
    auto caja = [](QWidget* padre, const char* nombre, const QString& texto) {
        auto* c = Control<QCheckBox>(padre, nombre);
        c->setText(texto);
        return c;
    };
    chkPrestadores = caja(Frame2, "chkPrestadores", QStringLiteral("Prestadores"));
    chkTPrestadores = caja(Frame2, "chkTPrestadores", QStringLiteral("Todos"));
    chkEfectores = caja(Frame2, "chkEfectores", QStringLiteral("Efectores"));
    chkTEfectores = caja(Frame2, "chkTEfectores", QStringLiteral("Todos"));
    chkMedicos = caja(Frame2, "chkMedicos", QStringLiteral("Médicos"));
    chkTMedicos = caja(Frame2, "chkTMedicos", QStringLiteral("Todos"));
    chkObras = caja(Frame2, "chkObras", QStringLiteral("Financiadores"));
    chkTObras = caja(Frame2, "chkTObras", QStringLiteral("Todos"));
    chkPrestaciones = caja(Frame2, "chkPrestaciones", QStringLiteral("Prestaciones"));
    chkTPrestaciones = caja(Frame2, "chkTPrestaciones", QStringLiteral("Todas"));
    chkDiagnosticos = caja(Frame2, "chkDiagnosticos", QStringLiteral("Diagnósticos"));
    chkTDiagnosticos = caja(Frame2, "chkTDiagnosticos", QStringLiteral("Todos"));
    cmdActualizar = boton(Frame2, "cmdActualizar", QStringLiteral("Actualizar"));
    chkActualizaInicio = caja(t7, "chkActualizaInicio", QStringLiteral("Actualización Automática de Nomencladores"));
    Label1 = Control<QLabel>(t7, "Label1");
    Label1->setText(QStringLiteral("Nota: Se actualizarán sólo las novedades de los nomencladores seleccionados cada "
                                   "vez que se ejecute el programa."));
    Label1->setWordWrap(true);
    fraLicencias = Control<QGroupBox>(t7, "fraLicencias");
    fraLicencias->setTitle(QStringLiteral("Licencias habilitadas"));
    lvwLicencias = Lista(Control<QTreeWidget>(fraLicencias, "lvwLicencias"));
    lvwLicencias->setHeaderHidden(true);
    {
        auto* gf = new QGridLayout(Frame2);
        const QList<QPair<QCheckBox*, QCheckBox*>> pares = {
            {chkPrestadores, chkTPrestadores}, {chkEfectores, chkTEfectores},       {chkMedicos, chkTMedicos},
            {chkObras, chkTObras},             {chkPrestaciones, chkTPrestaciones}, {chkDiagnosticos, chkTDiagnosticos}};
        for (int i = 0; i < pares.size(); ++i) {
            gf->addWidget(pares.at(i).first, i, 0);
            gf->addWidget(pares.at(i).second, i, 1);
        }
        gf->addWidget(cmdActualizar, int(pares.size()), 0, 1, 2);
        (new QVBoxLayout(fraLicencias))->addWidget(lvwLicencias);
        auto* g = new QGridLayout(t7);
        g->addWidget(Frame2, 0, 0, 2, 1);
        g->addWidget(fraLicencias, 0, 1);
        g->addWidget(chkActualizaInicio, 2, 0, 1, 2);
        g->addWidget(Label1, 3, 0, 1, 2);
        g->setRowStretch(1, 1);
    }
    tabConfiguracion->addTab(t7, QStringLiteral("Actualizar"));

    // The rules of the boxes run on every change of their value, the loading's too.
    const QList<QPair<QCheckBox*, void (frmConfigurar::*)()>> reglas = {
        {chkActualizaInicio, &frmConfigurar::chkActualizaInicio_Click},
        {chkIngresoAutomatico, &frmConfigurar::chkIngresoAutomatico_Click},
        {chkMedicos, &frmConfigurar::chkMedicos_Click},
        {chkEfectores, &frmConfigurar::chkEfectores_Click},
        {chkPrestadores, &frmConfigurar::chkPrestadores_Click},
        {chkPrestaciones, &frmConfigurar::chkPrestaciones_Click},
        {chkDiagnosticos, &frmConfigurar::chkDiagnosticos_Click},
        {chkObras, &frmConfigurar::chkObras_Click},
        {chkTObras, &frmConfigurar::chkTObras_Click}};
    for (const auto& r : reglas) connect(r.first, &QCheckBox::toggled, this, r.second);

    connect(chkImprimir, &QCheckBox::toggled, this, &frmConfigurar::HabilitarImprimir);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmConfigurar::cmdActualizar_Click);
    connect(cmbpredeterminado, &QPushButton::clicked, this, &frmConfigurar::cmbpredeterminado_Click);
    connect(cmdAplicar, &QPushButton::clicked, this, &frmConfigurar::cmdAplicar_Click);
    connect(cmdDir, &QPushButton::clicked, this, &frmConfigurar::cmdDir_Click);
    connect(cmdAgregarLicencia, &QPushButton::clicked, this, &frmConfigurar::cmdAgregarLicencia_Click);
    connect(cmdEliminarLicencia, &QPushButton::clicked, this, &frmConfigurar::cmdEliminarLicencia_Click);
    connect(cmdAgregarOS, &QPushButton::clicked, this, &frmConfigurar::cmdAgregarOS_Click);
    connect(cmdEliminarOS, &QPushButton::clicked, this, &frmConfigurar::cmdEliminarOS_Click);
    connect(cmdEditarEfector, &QPushButton::clicked, this, &frmConfigurar::cmdEditarEfector_Click);
    connect(cmdGuardarEfector, &QPushButton::clicked, this, &frmConfigurar::cmdGuardarEfector_Click);
    connect(lvwLicencias, &QTreeWidget::itemDoubleClicked, this, [this] { lvwLicencias_DblClick(); });
    connect(lvwOperaciones, &QTreeWidget::itemDoubleClicked, this, [this] { lvwOperaciones_DblClick(); });
    connect(lvwPrestadores, &QTreeWidget::itemDoubleClicked, this, [this] { lvwPrestadores_DblClick(); });
}

// ---- Rows ---------------------------------------------------------------------------------

QString frmConfigurar::ClaveIcono(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kRolIcono).toString() : QString();
}

void frmConfigurar::PonerIcono(QTreeWidgetItem* item, const QList<QPair<QString, QIcon>>& imagenes,
                               const QString& clave)
{
    item->setData(0, kRolIcono, clave);
    QIcon icono;
    for (const auto& i : imagenes)
        if (i.first == clave) icono = i.second;
    item->setIcon(0, icono);
}

QTreeWidgetItem* frmConfigurar::AgregarFila(QTreeWidget* lista, const Fila& fila)
{
    auto* item = new QTreeWidgetItem(lista, fila.columnas);
    item->setData(0, kRolClave, fila.clave);
    item->setData(0, kRolTipo, int(fila.tipo));
    PonerIcono(item, Imglist, fila.icono);
    return item;
}

Fila frmConfigurar::LeerFila(const QTreeWidgetItem* item)
{
    Fila f;
    if (!item) return f;
    f.clave = item->data(0, kRolClave).toString();
    f.icono = ClaveIcono(item);
    f.tipo = qint16(item->data(0, kRolTipo).toInt());
    for (int i = 0; i < item->columnCount(); ++i) f.columnas << item->text(i);
    return f;
}

// ---- Loading ------------------------------------------------------------------------------

void frmConfigurar::Form_Load()
{
    using namespace General;
    int linea = 0;
    try {
        EstadoConfigurar& estado = Estado();
        linea = 1;
        if (LineaComando == kModoOculto) {
            chkActualizaInicio->setHidden(true);
            Label1->setHidden(true);
        }
        estado.ConfiguracionIncompleta = false;
        for (QCheckBox* c : {chkTPrestadores, chkTEfectores, chkTMedicos, chkTObras, chkTPrestaciones, chkTDiagnosticos})
            c->setEnabled(false);
        chkActualizaInicio->setChecked(ActualizaNomencladores == 1);

        linea = 2;
        // Read before the rules of the first boxes write them back.
        const bool prestaciones = ActualizaPrestaciones, diagnosticos = ActualizaDiagnosticos,
                   automatico = TipoIngresoAutomatico;
        chkObras->setChecked(ActualizaObrasS);
        chkEfectores->setChecked(ActualizaEfectores);
        chkMedicos->setChecked(ActualizaMedicos);
        chkPrestadores->setChecked(ActualizaPrestadores);
        if (estado.bFirstRun) chkTPrestadores->setChecked(true);
        chkPrestaciones->setChecked(prestaciones);
        chkDiagnosticos->setChecked(diagnosticos);
        chkIngresoAutomatico->setChecked(automatico);

        linea = 3;
        gConfig.reset();
        gConfig = std::make_shared<clsConfig>();
        linea = 4;
        if (!gConfig->isLoaded()) gConfig->LoadConfig(NumeroTerminal, false);
        linea = 5;
        CargarListaOperaciones();
        linea = 6;
        CargarImpresoras();
        linea = 7;
        Columnas(lvwPrestadores, FilasConfiguracion::ColumnasPrestadores());
        linea = 8;
        CargarListaPrestadores();
        Columnas(lvwEfectores, FilasConfiguracion::ColumnasEfectores());
        CargarListaEfectores();
        CargarComboEspecialidades(cboEspecialidadEfector);
        CargarCombosMatricula(cboTipoMatriculaEfector, cboProvinciaEfector);
        linea = 9;
        CargarListaObrasSociales();
        linea = 10;
        if (DirectorioTrabajo.isEmpty() && estado.bFirstRun)
            DirectorioTrabajo = Paths::WithTrailingSlash(Paths::Join(Paths::DataDir(), QStringLiteral("Estandar")));
        linea = 11;
        if (DirectorioTrabajo.isEmpty()) DirectorioTrabajo = Paths::WithTrailingSlash(Paths::DataDir());
        linea = 12;
        CargarDirectoriosRecientes();
        PonerCarpeta(cboDirectorio, DirectorioTrabajo);
        clsConfig& cfg = *gConfig;
        linea = 13;
        cboDelimitadores->clear();
        if (const auto delimitadores = cfg.Delimitadores())
            for (const auto& d : *delimitadores) cboDelimitadores->addItem(d->Delimitador, int(d->idDelimitador));
        linea = 14;
        if (cboDelimitadores->count() > 0) cboDelimitadores->setCurrentIndex(0);
        linea = 15;
        if (!cfg.Delimitador().isEmpty()) PonerTexto(cboDelimitadores, cfg.Delimitador());
        linea = 16;
        txtDireccionTerminal->setText(cfg.DireccionTerminal());
        txtTelefonoTerminal->setText(cfg.TelefonoTerminal());
        txtLatitud->setText(cfg.LatitudTerminal());
        txtLongitud->setText(cfg.LongitudTerminal());
        linea = 17;
        chkTimer->setChecked(cfg.Timer());
        linea = 18;
        chkImprimir->setChecked(cfg.Imprimir());
        linea = 19;
        ElegirOAgregar(cmbCopias, cfg.Copias() == 0 ? QStringLiteral("1") : QString::number(cfg.Copias()));
        linea = 20;
        cmbLargoHoja->clear();
        for (int i = 1; i <= 100; ++i) cmbLargoHoja->addItem(QString::number(i));
        ElegirOAgregar(cmbLargoHoja, cfg.Largohoja() == 0 ? QStringLiteral("38") : QString::number(cfg.Largohoja()));
        linea = 21;
        ElegirOAgregar(cmbDB, cfg.DBConect().isEmpty() ? cmbDB->itemText(0) : cfg.DBConect());
        linea = 22;
        cmbFuente->clear();
        cmbFuente->addItem(kFuentePredeterminada);
        if (lstImpresoras->count() > 0) cmbFuente->addItems(Printers::Fuentes(Printing::ImpresoraActiva()));
        linea = 23;
        ElegirOAgregar(cmbFuente, cfg.FontName().isEmpty() ? kFuentePredeterminada : cfg.FontName());
        linea = 24;
        cmbTamaño->clear();
        for (int i = 7; i <= 20; ++i) cmbTamaño->addItem(QString::number(i));
        ElegirOAgregar(cmbTamaño, cfg.FontSize() >= 7 && cfg.FontSize() <= 19 ? QString::number(cfg.FontSize())
                                                                               : QStringLiteral("10"));
        linea = 25;
        CargarListaLicencias();
        estado.LicenciaInicial = LicenciaSeleccionada;
        linea = 26;
        tabConfiguracion->setCurrentIndex(0);
        linea = 27;
        optTransLocal->setChecked(true);
        optTransOnLine->setEnabled(true);
        linea = 28;
        HabilitarImprimir();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error al cargar la configuración de la base de datos, linea: ") +
                            QString::number(linea) + QStringLiteral("\r\n") + DescripcionError(e),
                        Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::CargarImpresoras() { modImpresoras::CargarImpresoras(lstImpresoras); }

void frmConfigurar::CargarListaOperaciones()
{
    lvwOperaciones->clear();
    const auto operaciones = Configuracion().Operaciones();
    if (!operaciones) return;
    for (const auto& o : *operaciones) {
        auto* item = new QTreeWidgetItem(lvwOperaciones, {o->strIdentificacion, o->strNombre, o->strDescripcion});
        PonerIcono(item, imgOperaciones, o->intUtiliza == 1 ? QStringLiteral("Si") : QStringLiteral("No"));
    }
}

void frmConfigurar::CargarListaPrestadores()
{
    lvwPrestadores->clear();
    const auto prestadores = Configuracion().Prestadores();
    if (!prestadores) return;
    if (prestadores->Count() > 0) General::ListaIdsPrestadores.clear();
    for (const auto& p : *prestadores) {
        AgregarFila(lvwPrestadores, FilasConfiguracion::FilaPrestador(*p));
        const QString tipo = QString::number(p->Odontologo);
        if (!General::ListaIdsPrestadores.contains(tipo, Qt::CaseInsensitive)) General::ListaIdsPrestadores += tipo;
    }
}

void frmConfigurar::CargarListaEfectores()
{
    lvwEfectores->clear();
    if (const auto efectores = Configuracion().Efectores())
        for (const auto& e : *efectores) AgregarFila(lvwEfectores, FilasConfiguracion::FilaEfector(*e));
}

void frmConfigurar::CargarListaObrasSociales()
{
    const auto obras = ObrasSociales();
    if (obras->isEmpty()) {
        auto os = std::make_shared<clsObraSocial>();
        os->IdObraSocial = 1;
        os->Nombre = QStringLiteral("OSDE");
        os->OnLine = true;
        os->Empresa = 11;
        os->Actividad = 1;
        obras->Add(os, os->Nombre);
    }
    lvwObraSocial->clear();
    for (int i = 1; i <= obras->Count(); ++i)
        AgregarFila(lvwObraSocial, FilasConfiguracion::FilaObraSocial(*obras->Item_(i), obras->Key(i)));
}

void frmConfigurar::CargarDirectoriosRecientes()
{
    try {
        cboDirectorio->addItems(DirectoriosRecientes::Leer());
    } catch (const std::exception&) {
        // The recent folders are a convenience; the typed folder still works.
    }
}

void frmConfigurar::CargarListaLicencias()
{
    fraLicencias->setHidden(true);
    lvwLicencias->setHidden(true);
    lvwLicencias->clear();
    if (General::Licencias.size() < 2) return;
    fraLicencias->setHidden(false);
    lvwLicencias->setHidden(false);
    for (const QString& codigo : General::Licencias) {
        Fila f;
        f.columnas = {codigo};
        f.icono = codigo == General::LicenciaSeleccionada ? Imglist.value(0).first : QString();
        AgregarFila(lvwLicencias, f);
    }
}

// ---- Rules and keys -----------------------------------------------------------------------

void frmConfigurar::chkActualizaInicio_Click() { General::ActualizaNomencladores = chkActualizaInicio->isChecked() ? 1 : 0; }
void frmConfigurar::chkIngresoAutomatico_Click() { General::TipoIngresoAutomatico = chkIngresoAutomatico->isChecked(); }

void frmConfigurar::chkMedicos_Click()
{
    General::ActualizaMedicos = chkMedicos->isChecked();
    chkTMedicos->setEnabled(chkMedicos->isChecked());
}

void frmConfigurar::chkEfectores_Click()
{
    General::ActualizaEfectores = chkEfectores->isChecked();
    chkTEfectores->setEnabled(chkEfectores->isChecked());
}

void frmConfigurar::chkPrestadores_Click()
{
    General::ActualizaPrestadores = chkPrestadores->isChecked();
    chkTPrestadores->setEnabled(chkPrestadores->isChecked());
}

void frmConfigurar::chkPrestaciones_Click()
{
    General::ActualizaPrestaciones = chkPrestaciones->isChecked();
    chkTPrestaciones->setEnabled(chkPrestaciones->isChecked());
}

void frmConfigurar::chkDiagnosticos_Click()
{
    General::ActualizaDiagnosticos = chkDiagnosticos->isChecked();
    chkTDiagnosticos->setEnabled(chkDiagnosticos->isChecked());
}

void frmConfigurar::chkObras_Click()
{
    General::ActualizaObrasS = chkObras->isChecked();
    chkTObras->setEnabled(chkObras->isChecked());
    chkTObras->setChecked(chkObras->isChecked());
}

void frmConfigurar::chkTObras_Click() { chkObras->setChecked(chkTObras->isChecked()); }

void frmConfigurar::cmbpredeterminado_Click()
{
    QTreeWidgetItem* elegido = lvwPrestadores->currentItem();
    if (lvwPrestadores->topLevelItemCount() == 0 || !elegido || !elegido->isSelected()) return;
    const bool sinIcono = ClaveIcono(elegido).isEmpty();
    for (int i = 0; i < lvwPrestadores->topLevelItemCount(); ++i)
        PonerIcono(lvwPrestadores->topLevelItem(i), Imglist, QString());
    if (sinIcono) PonerIcono(elegido, Imglist, Imglist.value(0).first);
}

void frmConfigurar::lstImpresoras_KeyDown(int KeyCode)
{
    if (KeyCode != kTeclaF5) return;
    CargarImpresoras();
    HabilitarImprimir();
}

bool frmConfigurar::eventFilter(QObject* obj, QEvent* ev)
{
    if (obj == lstImpresoras && ev->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(ev)->key() == Qt::Key_F5) {
        lstImpresoras_KeyDown(kTeclaF5);
        return true;
    }
    if (obj == txtNombreOS && ev->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(ev)->key();
        // Taken here, so the dialog's default button does not see it.
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            txtNombreOS_KeyPress(kTeclaEnter);
            return true;
        }
    }
    return QDialog::eventFilter(obj, ev);
}

// ---- Providers and accounts ---------------------------------------------------------------

void frmConfigurar::cmdAgregarLicencia_Click()
{
    try {
        FilasConfiguracion::CamposPrestador c;
        c.nombre = txtNombre->text();
        c.cuit = txtCUIT->text();
        c.codigo = txtcodigoOSDE->text();
        c.filial = txtFilial->text();
        c.licencia = txtLicencia->text();
        c.prescripcion = chkPrescripcion->isChecked();
        c.admisor = chkAdmisores->isChecked();
        c.itemTipo = cmbTipo->currentIndex();
        c.requiereMat = m_RequiereMat;
        c.tipoSinTexto = m_TipoSinTexto;
        const auto fila = FilasConfiguracion::AgregarPrestador(c);
        if (!fila) {
            Dialogs::MsgBox(kMensajeInvalido, Vbc::vbExclamation, Dialogs::kAppTitle);
            return;
        }
        AgregarFila(lvwPrestadores, *fila);
        for (QLineEdit* t : {txtNombre, txtCUIT, txtcodigoOSDE, txtFilial, txtLicencia}) t->clear();
        // What the taken-back provider carried belongs to it alone.
        m_RequiereMat.clear();
        m_TipoSinTexto.reset();
        cmbTipo->setCurrentIndex(0);
        chkPrescripcion->setChecked(false);
        chkAdmisores->setChecked(false);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::cmdEliminarLicencia_Click()
{
    QTreeWidgetItem* item = lvwPrestadores->currentItem();
    if (!item || !item->isSelected()) return;
    const auto c = FilasConfiguracion::TomarPrestador(LeerFila(item), cmbTipo->currentIndex());
    txtNombre->setText(c.nombre);
    txtCUIT->setText(c.cuit);
    txtcodigoOSDE->setText(c.codigo);
    txtLicencia->setText(c.licencia);
    chkPrescripcion->setChecked(c.prescripcion);
    cmbTipo->setCurrentIndex(c.itemTipo);
    txtFilial->setText(c.filial);
    chkAdmisores->setChecked(c.admisor);
    m_RequiereMat = c.requiereMat;
    m_TipoSinTexto = c.tipoSinTexto;
    delete item;
}

void frmConfigurar::lvwLicencias_DblClick()
{
    QTreeWidgetItem* elegido = lvwLicencias->currentItem();
    if (lvwLicencias->topLevelItemCount() == 0 || !elegido || !ClaveIcono(elegido).isEmpty()) return;
    for (int i = 0; i < lvwLicencias->topLevelItemCount(); ++i)
        PonerIcono(lvwLicencias->topLevelItem(i), Imglist, QString());
    PonerIcono(elegido, Imglist, Imglist.value(0).first);
    General::LicenciaSeleccionada = elegido->text(0);
}

void frmConfigurar::lvwPrestadores_DblClick() { cmbpredeterminado_Click(); }

// ---- Insurers ----------------------------------------------------------------------------

void frmConfigurar::cmdAgregarOS_Click()
{
    try {
        const auto obras = ObrasSociales();
        FilasConfiguracion::CamposObraSocial c;
        c.nombre = txtNombreOS->text();
        c.auisoa = txtAUISOA->text();
        c.empresa = txtEmpresa->text();
        c.actividad = txtActividad->text();
        c.filial = txtFilialOS->text();
        c.onLine = optTransOnLine->isChecked();
        c.utilizaCI = chkCodigoInterno->isChecked();
        c.utilizaCSC = chkUtilizaCSC->isChecked();
        QList<Fila> filas;
        for (int i = 0; i < lvwObraSocial->topLevelItemCount(); ++i) filas << LeerFila(lvwObraSocial->topLevelItem(i));
        const auto alta = FilasConfiguracion::AgregarObraSocial(c, filas, *obras, m_IdObraSocialQuitada);
        switch (alta.resultado) {
        case FilasConfiguracion::ResultadoObraSocial::SinNombre:
            return;
        case FilasConfiguracion::ResultadoObraSocial::Existe:
            Dialogs::MsgBox(QStringLiteral("Esta Obra Social ya existe"), Vbc::vbInformation, Dialogs::kAppTitle);
            return;
        case FilasConfiguracion::ResultadoObraSocial::Invalido:
            Dialogs::MsgBox(kMensajeInvalido, Vbc::vbExclamation, Dialogs::kAppTitle);
            return;
        case FilasConfiguracion::ResultadoObraSocial::Agregada:
            break;
        }
        obras->Add(alta.obra, alta.fila.clave);
        AgregarFila(lvwObraSocial, alta.fila);
        for (QLineEdit* t : {txtNombreOS, txtAUISOA, txtEmpresa, txtActividad, txtFilialOS}) t->clear();
        chkUtilizaCSC->setChecked(false);
        // Both belonged to the insurer taken back.
        chkCodigoInterno->setChecked(false);
        m_IdObraSocialQuitada.reset();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::cmdEliminarOS_Click()
{
    try {
        QTreeWidgetItem* item = lvwObraSocial->currentItem();
        if (!item || !item->isSelected()) return;
        const Fila fila = LeerFila(item);
        m_IdObraSocialQuitada.reset();
        bool utilizaCI = false;
        if (const auto obras = ObrasSociales(); obras->Contains(fila.clave)) {
            const auto os = obras->Item_(fila.clave);
            m_IdObraSocialQuitada = os->IdObraSocial;
            utilizaCI = os->UtilizaCI;
            obras->Remove(fila.clave);
        }
        const auto c = FilasConfiguracion::TomarObraSocial(fila);
        txtNombreOS->setText(c.nombre);
        txtAUISOA->setText(c.auisoa);
        txtFilialOS->setText(c.filial);
        (c.onLine ? optTransOnLine : optTransLocal)->setChecked(true);
        txtEmpresa->setText(c.empresa);
        txtActividad->setText(c.actividad);
        chkUtilizaCSC->setChecked(c.utilizaCSC);
        chkCodigoInterno->setChecked(utilizaCI);
        delete item;
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::txtNombreOS_KeyPress(int KeyAscii)
{
    if (KeyAscii == kTeclaEnter) cmdAgregarOS_Click();
}

// ---- Operations ---------------------------------------------------------------------------

void frmConfigurar::lvwOperaciones_DblClick()
{
    for (int i = 0; i < lvwOperaciones->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvwOperaciones->topLevelItem(i);
        if (!item->isSelected()) continue;
        PonerIcono(item, imgOperaciones,
                   ClaveIcono(item) == QLatin1String("No") ? QStringLiteral("Si") : QStringLiteral("No"));
    }
}

void frmConfigurar::AplicarDependenciasOperaciones()
{
    clsConfig& cfg = Configuracion();
    const auto operaciones = cfg.Operaciones();
    if (!operaciones) return;
    DependenciasOperaciones::Aplicar(*operaciones, General::ListaIdsPrestadores);
    cfg.SaveOperaciones();
}

// ---- Effectors ----------------------------------------------------------------------------

void frmConfigurar::cmdEditarEfector_Click()
{
    QTreeWidgetItem* item = lvwEfectores->currentItem();
    if (!item || !item->isSelected()) return;
    const Fila f = LeerFila(item);
    txtNombreEfector->setText(f.columna(0));
    txtCuitEfector->setText(f.columna(1));
    txtMatriculaEfector->setText(f.columna(3));
    chkBajaEfector->setChecked(f.columna(5) == QLatin1String("SI"));
    txtidEfector->setText(f.columna(6));
    const QString tipo = f.columna(8);
    if (Vb::Right(tipo, 1) == QLatin1String("1")) cboTipoMatriculaEfector->setCurrentIndex(1);
    else if (Vb::Right(tipo, 1) == QLatin1String("2")) cboTipoMatriculaEfector->setCurrentIndex(2);
    const QString letra = Vb::Left(tipo, 1);
    for (int i = 1; i < cboProvinciaEfector->count(); ++i) {
        if (!letra.isEmpty() && Vb::Left(cboProvinciaEfector->itemText(i), 1) == letra) {
            cboProvinciaEfector->setCurrentIndex(i);
            break;
        }
    }
    const QString especialidad = Vb::Trim(f.columna(4));
    if (!especialidad.isEmpty()) {
        for (int i = 1; i < cboEspecialidadEfector->count(); ++i) {
            const QString t = cboEspecialidadEfector->itemText(i);
            if (Vb::Trim(Vb::Left(t, t.size() - 5)) == especialidad) {
                cboEspecialidadEfector->setCurrentIndex(i);
                break;
            }
        }
    }
    delete item;
}

void frmConfigurar::cmdGuardarEfector_Click()
{
    try {
        FilasConfiguracion::CamposEfector c;
        c.nombre = txtNombreEfector->text();
        c.cuit = txtCuitEfector->text();
        c.matricula = txtMatriculaEfector->text();
        c.id = txtidEfector->text();
        c.tipo = cboTipoMatriculaEfector->currentText();
        c.jurisdiccion = cboProvinciaEfector->currentText();
        c.especialidad = cboEspecialidadEfector->currentText();
        c.baja = chkBajaEfector->isChecked();
        const auto fila = FilasConfiguracion::GuardarEfector(c);
        if (!fila) {
            Dialogs::MsgBox(kMensajeInvalido, Vbc::vbExclamation, Dialogs::kAppTitle);
            return;
        }
        AgregarFila(lvwEfectores, *fila);
        for (QLineEdit* t : {txtNombreEfector, txtCuitEfector, txtMatriculaEfector, txtidEfector}) t->clear();
        chkBajaEfector->setChecked(false);
        for (QComboBox* combo : {cboTipoMatriculaEfector, cboProvinciaEfector, cboEspecialidadEfector})
            combo->setCurrentIndex(0);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

// ---- Closing ------------------------------------------------------------------------------

void frmConfigurar::Form_Unload()
{
    try {
        hide();
        modVentanas::RefrescarListaObrasSociales();
        modVentanas::HabilitarOperaciones();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

// ---- Working folder ------------------------------------------------------------------------

void frmConfigurar::GuardarDirectoriosRecientes(const QString& folder)
{
    try {
        // The entries are what loading read; a typed text never becomes one.
        QStringList anteriores;
        for (int i = 0; i < cboDirectorio->count(); ++i) anteriores << cboDirectorio->itemText(i);
        // A list that cannot be written only costs the user a shortcut; the user is told why.
        QString error;
        if (!DirectoriosRecientes::Guardar(folder, anteriores, &error))
            Dialogs::MsgBox(error, Vbc::vbExclamation, Dialogs::kAppTitle);
    } catch (const std::exception&) {
        // Nor does a failure of the list stop the working folder being used.
    }
}

void frmConfigurar::cmdAplicar_Click()
{
    try {
        const QString texto = cboDirectorio->currentText();
        // With "/" appended a blank text would name the root, which exists and would be adopted.
        if (Vb::Trim(texto).isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar el Directorio de Trabajo."), Vbc::vbExclamation,
                            Dialogs::kAppTitle);
            Estado().ConfiguracionIncompleta = true;
            return;
        }
        if (General::ValidarDirectorioTrabajo(DirectoriosRecientes::CarpetaTecleada(texto))) {
            GuardarDirectoriosRecientes(General::DirectorioTrabajo);
            // The box shows the folder as adopted: a relative text no longer depends on where
            // the program was started.
            PonerCarpeta(cboDirectorio, General::DirectorioTrabajo);
        } else
            Estado().ConfiguracionIncompleta = true;
    } catch (const std::exception& e) {
        Estado().ConfiguracionIncompleta = true;
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

QString frmConfigurar::BrowseFolders(QWidget*, const QString& sMessage, int, int)
{
    const QString elegida =
        Dialogs::FolderName(sMessage, DirectoriosRecientes::CarpetaInicialSelector(Vb::Trim(sMessage)));
    return elegida.section(QChar(0), 0, 0);
}

void frmConfigurar::cmdDir_Click()
{
    try {
        const QString anterior = Vb::Trim(cboDirectorio->currentText());
        constexpr int kSoloCarpetas = 1, kRaizEquipo = 17;
        const QString elegida = BrowseFolders(this, anterior, kSoloCarpetas, kRaizEquipo);
        PonerCarpeta(cboDirectorio, Vb::Trim(elegida).isEmpty() ? anterior : elegida);
    } catch (const std::exception&) {
        // The box keeps what it had; the user can type the folder.
    }
}

void frmConfigurar::cmdCancelar_Click()
{
    try {
        const EstadoConfigurar& estado = Estado();
        if (!estado.ConfiguracionIncompleta && !estado.bFirstRun) {
            try {
                RecargarSinGuardar();
            } catch (const std::exception& e) {
                Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
            }
            QDialog::reject();
            return;
        }
        const int r = Dialogs::MsgBox(QStringLiteral("Está seguro que desea salir del programa?\r\n"
                                                     "Si continúa la aplicación se cerrará.\r\n"
                                                     "Ud. no ha configurado bien su QUORVAN."),
                                      Vbc::vbYesNo | Vbc::vbExclamation, Dialogs::kAppTitle);
        if (r != Vbc::vbYes) return;
        // Ends at once: start-up sees the request and goes no further; no closing steps run.
        Salida::Solicitar(0);
        m_Descargada = true;
        QDialog::reject();
    } catch (const std::exception& e) {
        Dialogs::MsgBox(DescripcionError(e), Vbc::vbCritical, Dialogs::kAppTitle);
    }
}

void frmConfigurar::reject() { cmdCancelar_Click(); }

void frmConfigurar::done(int r)
{
    if (!m_Descargada) {
        m_Descargada = true;
        Form_Unload();
    }
    QDialog::done(r);
}
