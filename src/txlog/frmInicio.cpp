#include "txlog/frmInicio.h"
#include "config/GeneralConfiguracion.h"

#include "config/Coleccion.h"
#include "config/GeneralCombos.h"
#include "config/clsConfig.h"
#include "config/clsPrestador.h"
#include "engine/General.h"
#include "engine/clsTransaccion.h"
#include "platform/Codec1252.h"
#include "platform/Dialogs.h"
#include "platform/Lineas.h"
#include "platform/Paths.h"
#include "platform/Twips.h"
#include "platform/Vb.h"
#include "platform/VbError.h"
#include "txlog/clsTransacciones.h"
#include "txlog/frmTicket.h"
#include "txlog/modEnvioTicket.h"
#include "txlog/modTickets.h"

#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHash>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace {

const QString kOrigen = QStringLiteral("Quorvan.frmInicio");
constexpr qint32 kOperacionReimpresion = 80;
constexpr int kIzquierda = 1365;
constexpr int kAltoMinimo = 7260;
constexpr int kAnchoMinimo = 6015;
constexpr int kColumnas = 8;

using Textos = std::array<QString, kColumnas>;

// A row that keeps the logged transaction it shows. Its texts and icon are its own members
// rather than the item's per-column variants: a list of a hundred thousand rows is built,
// sorted and freed several times faster, and what the view reads is the same.
class FilaTransaccion : public QTreeWidgetItem {
public:
    static constexpr int Tipo = QTreeWidgetItem::UserType + 1;
    FilaTransaccion(std::shared_ptr<clsTransacciones> t, Textos textos, const QIcon& icono)
        : QTreeWidgetItem(Tipo), transaccion(std::move(t)), textos(std::move(textos)), icono(icono) {}
    std::shared_ptr<clsTransacciones> transaccion;
    Textos textos;
    QIcon icono;

    QVariant data(int columna, int rol) const override
    {
        if (columna >= 0 && columna < kColumnas) {
            if (rol == Qt::DisplayRole || rol == Qt::EditRole) return textos[columna];
            if (rol == Qt::DecorationRole && columna == 0) return icono;
        }
        return QTreeWidgetItem::data(columna, rol);
    }
    void setData(int columna, int rol, const QVariant& valor) override
    {
        if (columna >= 0 && columna < kColumnas) {
            if (rol == Qt::DisplayRole || rol == Qt::EditRole) textos[columna] = valor.toString();
            if (rol == Qt::DecorationRole && columna == 0) icono = valor.value<QIcon>();
        }
        QTreeWidgetItem::setData(columna, rol, valor);
    }
    // By the column's text, as the widget compares texts, without a variant per comparison.
    bool operator<(const QTreeWidgetItem& otra) const override
    {
        const int columna = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (otra.type() != Tipo || columna < 0 || columna >= kColumnas) return QTreeWidgetItem::operator<(otra);
        return textos[columna] < static_cast<const FilaTransaccion&>(otra).textos[columna];
    }
};

// The rows' own painting, with the size of a cell remembered by its column, text and icon while
// the columns are fitted: the widget measures a thousand rows per column, and laying out the
// same operation, insurer or date over and over was most of that time. A row shows nothing
// else that could change its size.
class MedidaPorTexto : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void Recordar(bool si)
    {
        m_recordar = si;
        m_medidas.clear();
    }

    QSize sizeHint(const QStyleOptionViewItem& opcion, const QModelIndex& indice) const override
    {
        if (!m_recordar) return QStyledItemDelegate::sizeHint(opcion, indice);
        const QVariant icono = indice.data(Qt::DecorationRole);
        const Clave clave{indice.column(), icono.isValid() ? qvariant_cast<QIcon>(icono).cacheKey() : 0,
                          indice.data(Qt::DisplayRole).toString()};
        auto medida = m_medidas.constFind(clave);
        if (medida == m_medidas.constEnd())
            medida = m_medidas.insert(clave, QStyledItemDelegate::sizeHint(opcion, indice));
        return *medida;
    }

private:
    struct Clave {
        int columna;
        qint64 icono;
        QString texto;
        bool operator==(const Clave& o) const { return columna == o.columna && icono == o.icono && texto == o.texto; }
        friend size_t qHash(const Clave& c, size_t semilla = 0) { return qHashMulti(semilla, c.columna, c.icono, c.texto); }
    };
    bool m_recordar = false;
    mutable QHash<Clave, QSize> m_medidas;
};

QIcon Circulo(const QColor& color, bool cruz)
{
    QPixmap px(16, 16);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(140));
    p.setBrush(color);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(Qt::white, 2));
    if (cruz) {
        p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
        p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
    } else {
        p.drawPolyline(QPolygonF({QPointF(4.5, 8.5), QPointF(7, 11), QPointF(11.5, 5.5)}));
    }
    return QIcon(px);
}

struct NombreDeCodigos {
    QList<int> codigos;
    const char* nombre;
};

const QList<NombreDeCodigos>& TablaOperaciones()
{
    static const QList<NombreDeCodigos> tabla = {
        {{2, 3, 12, 22, 32, 62, 63}, "Anulación"},
        {{4, 14, 24, 34, 43}, "Verificación completa"},
        {{7}, "Consulta transacciones"},
        {{9}, "Cierre lote"},
        {{11, 31}, "Informar prestación"},
        {{15, 35}, "Prestación diferida"},
        {{16}, "Informar prestación pre-autorizada"},
        {{21, 51, 72}, "Solicitar autorización"},
        {{41}, "Verificar afiliado"},
        {{42}, "Verificar afiliado/prestación"},
        {{52}, "Informar prescripción"},
        {{53, 73}, "Rescatar solicitud"},
        {{60}, "Informar internación"},
        {{61}, "Alta internación"},
        {{64}, "Informar cirugía realizada"},
        {{65}, "Envío protocolo quirúrgico"},
        {{66}, "Autorización cirugía"},
        {{80}, "Reimpresión de ticket"},
    };
    return tabla;
}

// The text of a stored ticket as the window shows it: each line preceded by CR LF.
QString LeerTicket(const QString& archivo)
{
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        throw VbError(VbError::PathFileAccess, kOrigen, QStringLiteral("No se puede leer el archivo ") + archivo);
    QStringList lineas = Lineas::Separar(Codec1252::decode(f.readAll()));
    if (lineas.last().isEmpty()) lineas.removeLast();
    QString texto;
    for (const QString& l : lineas) texto += QStringLiteral("\r\n") + l;
    return texto;
}

}

frmInicio::frmInicio(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmInicio"));
    setWindowTitle(QStringLiteral("Transacciones"));

    ImageList1 = {Circulo(QColor(0x2e, 0x8b, 0x3a), false), Circulo(QColor(0xc6, 0x28, 0x28), true)};

    lblPrestador = new QLabel(QStringLiteral("&Prestador:"), this);
    lblPrestador->setObjectName(QStringLiteral("lblPrestador"));
    cboNombre = new QComboBox(this);
    cboNombre->setObjectName(QStringLiteral("cboNombre"));
    cboNombre->setMinimumContentsLength(28);
    lblPrestador->setBuddy(cboNombre);
    cmdFiltrar = new QPushButton(QStringLiteral("..."), this);
    cmdFiltrar->setObjectName(QStringLiteral("cmdFiltrar"));

    lvwTransacciones = new QTreeWidget(this);
    lvwTransacciones->setObjectName(QStringLiteral("lvwTransacciones"));
    lvwTransacciones->setRootIsDecorated(false);
    lvwTransacciones->setUniformRowHeights(true);
    lvwTransacciones->setAllColumnsShowFocus(true);
    lvwTransacciones->setItemDelegate(new MedidaPorTexto(lvwTransacciones));
    lvwTransacciones->setColumnCount(kColumnas);
    lvwTransacciones->header()->setMinimumSectionSize(1);
    lvwTransacciones->header()->setStretchLastSection(false);
    lvwTransacciones->header()->setSectionsClickable(true);
    lvwTransacciones->header()->setSortIndicatorShown(true);
    lvwTransacciones->viewport()->installEventFilter(this);
    lvwTransacciones->installEventFilter(this);

    Frame1 = new QGroupBox(QStringLiteral("Buscar un Ticket"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label3 = new QLabel(QStringLiteral("Nro. de Transacción: "), Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    txtNrotransaccion = new QLineEdit(Frame1);
    txtNrotransaccion->setObjectName(QStringLiteral("txtNrotransaccion"));
    txtNrotransaccion->setMaxLength(20);
    cmdBuscar = new QPushButton(QStringLiteral("Buscar..."), Frame1);
    cmdBuscar->setObjectName(QStringLiteral("cmdBuscar"));
    cmdBuscar->setToolTip(QStringLiteral("Busca un ticket que no está en la lista"));
    auto* fila = new QHBoxLayout(Frame1);
    fila->addWidget(Label3);
    fila->addWidget(txtNrotransaccion, 1);
    fila->addWidget(cmdBuscar);

    cmdCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));

    connect(cmdFiltrar, &QPushButton::clicked, this, &frmInicio::cmdFiltrar_Click);
    connect(cmdBuscar, &QPushButton::clicked, this, &frmInicio::cmdBuscar_Click);
    connect(cmdCerrar, &QPushButton::clicked, this, &frmInicio::cmdCerrar_Click);
    connect(lvwTransacciones->header(), &QHeaderView::sectionClicked, this,
            [this](int columna) { lvwTransacciones_ColumnClick(columna + 1); });
    // A mouse press first makes the row current; a click on the current row only clicks it.
    connect(lvwTransacciones, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* actual) { lvwTransacciones_ItemClick(actual); });
    connect(lvwTransacciones, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { lvwTransacciones_ItemClick(item); });
}

frmInicio::~frmInicio() = default;

QWidget* frmInicio::Ventana()
{
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    return sub ? static_cast<QWidget*>(sub) : this;
}

// ---- Rules ------------------------------------------------------------------------------

QString frmInicio::NombreOperacion(const QString& operacion)
{
    if (!Vb::IsNumeric(operacion)) return Vb::Trim(operacion);
    const double valor = Vb::Val(operacion);
    const int codigo = static_cast<int>(valor);
    if (codigo == valor)
        for (const auto& fila : TablaOperaciones())
            if (fila.codigos.contains(codigo)) return QString::fromUtf8(fila.nombre);
    return Vb::Str(valor);
}

namespace {

// The texts of the rows of one load. Codes, answers and answer codes repeat from row to row,
// so what they show is worked out once and the text shared.
class TextosDeFilas {
public:
    Textos operator()(const clsTransacciones& t)
    {
        Textos x;
        if (t.Error != m_error || m_textoError.isNull()) {
            m_error = t.Error;
            m_textoError = QString::number(t.Error);
        }
        x[0] = m_textoError;
        auto nombre = m_operaciones.constFind(t.Operacion);
        if (nombre == m_operaciones.constEnd())
            nombre = m_operaciones.insert(t.Operacion, frmInicio::NombreOperacion(t.Operacion));
        x[1] = *nombre;
        // Characters start:length of a text, 1-based, none past its end.
        const auto trozo = [](const QString& s, int desde, int largo) {
            return desde > s.size() ? QStringView() : QStringView(s).mid(desde - 1, largo);
        };
        const QStringView fecha(t.Fecha);
        QString dia;
        dia.reserve(16);
        dia += trozo(t.Fecha, 7, 2);
        dia += QLatin1Char('/');
        dia += trozo(t.Fecha, 5, 2);
        dia += QLatin1Char('/');
        dia += fecha.left(4);
        QString orden;
        orden.reserve(t.Fecha.size() + 6);
        orden += fecha;
        for (QString* destino : {&dia, &orden}) {
            *destino += QLatin1Char(' ');
            *destino += QStringView(t.Hora).left(2);
            *destino += QLatin1Char(':');
            *destino += trozo(t.Hora, 3, 2);
        }
        x[2] = std::move(dia);
        x[3] = t.ObraSocial;
        x[4] = QString::number(t.Ticket);
        x[5] = Vb::Trim(t.Tarjeta);
        if (t.Comentario != m_comentario || m_comentario.isNull()) {
            m_comentario = t.Comentario;
            m_respuesta = Vb::IsNumeric(Vb::Left(t.Comentario, 2)) ? Vb::Mid(t.Comentario, 3) : t.Comentario;
        }
        x[6] = m_respuesta;
        x[7] = std::move(orden);
        return x;
    }

private:
    qint16 m_error = 0;
    QString m_textoError;
    QHash<QString, QString> m_operaciones;
    QString m_comentario;
    QString m_respuesta;
};

}

QStringList frmInicio::TextosFila(const clsTransacciones& t)
{
    const Textos x = TextosDeFilas()(t);
    return QStringList(x.begin(), x.end());
}

bool frmInicio::NumeroTicketValido(const QString& texto)
{
    static const QRegularExpression digitos(QStringLiteral("^[0-9]{1,12}$"));
    return digitos.match(Vb::Trim(texto)).hasMatch();
}

const QList<int>& frmInicio::AnchosEnBlancos()
{
    static const QList<int> anchos = {0, 30, 24, 18, 15, 35, 50, 0};
    return anchos;
}

frmInicio::Disposicion frmInicio::CalcularDisposicion(int alto, int ancho)
{
    Disposicion d;
    if (alto < kAltoMinimo) {
        d.altoNuevo = kAltoMinimo;
    } else if (ancho < kAnchoMinimo) {
        d.anchoNuevo = kAnchoMinimo;
    } else {
        d.listaTop = 620;
        d.listaAncho = ancho - 120;
        d.listaAlto = alto - 1800;
        d.frameTop = d.listaAlto + 680;
        d.cerrarLeft = ancho - 1335;
        d.cerrarTop = alto - 615;
    }
    return d;
}

std::shared_ptr<clsTransacciones> frmInicio::TransaccionDeFila(const QTreeWidgetItem* item)
{
    const auto* fila = dynamic_cast<const FilaTransaccion*>(item);
    return fila ? fila->transaccion : nullptr;
}

// ---- Loading and layout -------------------------------------------------------------------

void frmInicio::Form_Load()
{
    try {
        Ventana()->move(Twips::APixeles(kIzquierda), 0);
        if (DistribuirVentanas) DistribuirVentanas();

        lvwTransacciones->setHeaderLabels({QString(), QStringLiteral("Operación"), QStringLiteral("Fecha"),
                                           QStringLiteral("Financiador"), QStringLiteral("Nº ticket"),
                                           QStringLiteral("Afiliado"), QStringLiteral("Respuesta"),
                                           QStringLiteral("FechaOrden")});
        cboNombre->clear();
        if (General::gConfig) General::CargarComboPrestadores(cboNombre);
        cboNombre->addItem(QStringLiteral("TODOS"), 0);
        cboNombre->setCurrentIndex(cboNombre->count() - 1);

        // The window outlives its closings: a provider looked up before must not filter a list
        // whose choice shows "TODOS".
        m_Cuit.clear();
        m_Licencia.clear();
        // Sorted ascending by the hidden date-and-time key, and kept sorted.
        m_ColumnaOrden = 8;
        m_Descendente = false;
        CargarListaTransacciones();
        lvwTransacciones->setColumnWidth(kColumnas - 1, 0);
        lvwTransacciones->setColumnHidden(kColumnas - 1, true);
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
}

void frmInicio::CargarListaTransacciones()
{
    lvwTransacciones->clear();
    if (!General::gConfig) return;
    General::gConfig->LoadTransacciones(m_Cuit);
    const auto lista = General::gConfig->Transacciones();
    if (!lista) return;
    // The rows go in already in the list's order, in one batch: the widget's own sort of a
    // hundred thousand rows reads every text back as a variant on each comparison.
    const int columna = m_ColumnaOrden - 1;
    TextosDeFilas textos;
    QList<QTreeWidgetItem*> filas;
    filas.reserve(lista->Count());
    for (const auto& t : *lista)
        filas << new FilaTransaccion(t, textos(*t), t->Error == 0 ? ImageList1[0] : ImageList1[1]);
    // Stable, as the widget sorts: rows with equal keys keep the order they were read in. The
    // keys sit next to their rows, so a comparison does not go through two items.
    std::vector<std::pair<QStringView, QTreeWidgetItem*>> orden;
    orden.reserve(filas.size());
    for (QTreeWidgetItem* fila : filas)
        orden.emplace_back(static_cast<const FilaTransaccion*>(fila)->textos[columna], fila);
    if (m_Descendente)
        std::stable_sort(orden.begin(), orden.end(), [](const auto& a, const auto& b) { return b.first < a.first; });
    else
        std::stable_sort(orden.begin(), orden.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (qsizetype i = 0; i < filas.size(); ++i) filas[i] = orden[i].second;
    lvwTransacciones->header()->setSortIndicator(columna, m_Descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
    lvwTransacciones->addTopLevelItems(filas);
    AjustarColumnas();
}

void frmInicio::AjustarColumnas()
{
    // The widths by blanks of the window's font, but never narrower than what the rows show:
    // a cut date or operation name is no use at the front desk.
    auto* medida = dynamic_cast<MedidaPorTexto*>(lvwTransacciones->itemDelegate());
    if (medida) medida->Recordar(true);
    const auto olvidar = qScopeGuard([medida] {
        if (medida) medida->Recordar(false);
    });
    const QFontMetrics fm(lvwTransacciones->font());
    for (int c = 0; c < kColumnas - 1; ++c) {
        const int regla = c == 0 ? std::max(1, Twips::APixeles(10))
                                 : fm.horizontalAdvance(QString(AnchosEnBlancos()[c], QLatin1Char(' ')));
        lvwTransacciones->resizeColumnToContents(c);
        lvwTransacciones->setColumnWidth(c, std::max(regla, lvwTransacciones->columnWidth(c)));
    }
}

void frmInicio::Ordenar()
{
    lvwTransacciones->sortItems(m_ColumnaOrden - 1, m_Descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void frmInicio::Form_Resize()
{
    if (Ventana()->isMinimized()) return;
    const Disposicion d = CalcularDisposicion(Twips::DePixeles(height()), Twips::DePixeles(width()));
    // The window grows by what its frame takes around this area.
    const QSize marco = Ventana()->size() - size();
    if (d.altoNuevo > 0) {
        Ventana()->resize(Ventana()->width(), Twips::APixeles(d.altoNuevo) + marco.height());
        return;
    }
    if (d.anchoNuevo > 0) {
        Ventana()->resize(Twips::APixeles(d.anchoNuevo) + marco.width(), Ventana()->height());
        return;
    }
    const int margen = Twips::APixeles(60);
    const int fila = Twips::APixeles(d.listaTop) - margen;
    const int altoFila = cboNombre->sizeHint().height();
    const int arriba = std::max(0, (fila - altoFila) / 2);
    lblPrestador->setGeometry(margen, arriba, lblPrestador->sizeHint().width(), altoFila);
    cboNombre->setGeometry(lblPrestador->geometry().right() + margen, arriba, cboNombre->sizeHint().width(), altoFila);
    cmdFiltrar->setGeometry(cboNombre->geometry().right() + margen / 2, arriba, cmdFiltrar->sizeHint().height() + 8,
                            altoFila);
    lvwTransacciones->setGeometry(margen, Twips::APixeles(d.listaTop), Twips::APixeles(d.listaAncho),
                                  Twips::APixeles(d.listaAlto));
    Frame1->setGeometry(margen, Twips::APixeles(d.frameTop), Frame1->sizeHint().width(), Frame1->sizeHint().height());
    cmdCerrar->setGeometry(Twips::APixeles(d.cerrarLeft), Twips::APixeles(d.cerrarTop), Twips::APixeles(1215),
                           cmdCerrar->sizeHint().height());
}

void frmInicio::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// ---- Filter and sorting -------------------------------------------------------------------

void frmInicio::BuscarPrestadorSeleccionado()
{
    m_Cuit.clear();
    m_Licencia.clear();
    if (!General::gConfig || !General::gConfig->Prestadores()) return;
    const int id = cboNombre->currentData().toInt();
    for (const auto& p : *General::gConfig->Prestadores()) {
        if (p->idPrestador == id) {
            m_Cuit = p->Cuit;
            m_Licencia = p->Licencia;
            return;
        }
    }
}

void frmInicio::cmdFiltrar_Click()
{
    try {
        BuscarPrestadorSeleccionado();
        CargarListaTransacciones();
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
}

void frmInicio::lvwTransacciones_ColumnClick(int columna)
{
    m_Descendente = !m_Descendente;
    m_ColumnaOrden = columna == 3 ? 8 : columna;
    Ordenar();
}

// ---- Opening a stored ticket --------------------------------------------------------------

void frmInicio::lvwTransacciones_MouseDown() { m_Marca = true; }

bool frmInicio::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == lvwTransacciones->viewport() && evento->type() == QEvent::MouseButtonPress)
        lvwTransacciones_MouseDown();
    // A press on no row must not make the next row chosen with the keyboard open its ticket.
    if (objeto == lvwTransacciones && evento->type() == QEvent::KeyPress) m_Marca = false;
    return QWidget::eventFilter(objeto, evento);
}

void frmInicio::lvwTransacciones_ItemClick(QTreeWidgetItem* item)
{
    if (!m_Marca || !item) return;
    try {
        const QString carpeta = modTickets::CarpetaTickets();
        if (!QFileInfo(carpeta).isDir()) {
            Dialogs::MsgBox(QStringLiteral("No se encuentra el directorio de los tickets: ") +
                            Paths::WithTrailingSlash(carpeta));
            m_Marca = false;
            return;
        }
        const auto t = TransaccionDeFila(item);
        const QString archivo = t ? modTickets::ArchivoTicket(t->Ticket, t->Fecha, t->Hora) : QString();
        if (!QFileInfo(archivo).isFile()) {
            Dialogs::MsgBox(QStringLiteral("No se encuentra el archivo del ticket: ") + archivo);
            m_Marca = false;
            return;
        }
        const QString texto = LeerTicket(archivo);
        // Cleared first: the click that ends the modal window must not open it again.
        m_Marca = false;
        frmTicket ticket(this);
        ticket.Cargar(texto, item->text(4), t);
    } catch (const VbError& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + e.description);
    } catch (const std::exception& e) {
        Dialogs::MsgBox(QStringLiteral("Error: ") + QString::fromLocal8Bit(e.what()));
    }
    m_Marca = false;
}

// ---- Reprint and closing ------------------------------------------------------------------

void frmInicio::cmdBuscar_Click()
{
    const QString numero = Vb::Trim(txtNrotransaccion->text());
    if (numero.isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Debe ingresar el nº de transacción"), Vbc::vbInformation);
        return;
    }
    if (!NumeroTicketValido(numero)) {
        Dialogs::MsgBox(QStringLiteral("El nº de transacción ingresado no es correcto"), Vbc::vbInformation);
        return;
    }
    setCursor(Qt::WaitCursor);
    try {
        const clsConfig& cfg = modEnvioTicket::ConfiguracionCargada(kOrigen);
        const auto os = modEnvioTicket::ObraSocialPredeterminada(cfg);
        const auto tx = modEnvioTicket::NuevoEnvio(cfg, *os, false);
        BuscarPrestadorSeleccionado();
        if (Vb::Trim(m_Licencia).isEmpty()) {
            Dialogs::MsgBox(QStringLiteral("Debe seleccionar un prestador"), Vbc::vbInformation);
            modEnvioTicket::PunteroNormal(this);
            return;
        }
        tx->setLicencia(m_Licencia);
        modEnvioTicket::EnviarReferencia(*tx, kOperacionReimpresion, m_Cuit, QString(), numero);
    } catch (const std::exception& e) {
        modEnvioTicket::MostrarErrorInesperado(e);
    }
    modEnvioTicket::PunteroNormal(this);
}

void frmInicio::cmdCerrar_Click()
{
    modEnvioTicket::PunteroNormal(nullptr);
    Ventana()->close();
}
