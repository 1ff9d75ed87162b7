#pragma once
#include "config/Coleccion.h"

#include <QString>
#include <QVariantList>
#include <memory>

class Database;
class clsOperacion;
class clsPrestador;
class clsEfector;
class clsObraSocial;
class clsDelimitador;
class clsMedico;
class clsPrestacion;
class clsDiagnosticos;
class clsTransacciones;
class FilasTransacciones;
class clsEspecialidad;
class clsPrestaciones;

// The terminal's configuration row (table Parametros) and the reference lists the working
// windows need. Holds one database connection for its whole life and shares it with the
// service catalogue.
class clsConfig {
public:
    // Opens the program's data source; a failure is raised with source "QuorvanLog.clsConfig".
    clsConfig();
    ~clsConfig();
    clsConfig(const clsConfig&) = delete;
    clsConfig& operator=(const clsConfig&) = delete;

    qint16 IdTerminal() const { return m_IdTerminal; }
    void setIdTerminal(qint16 v) { m_IdTerminal = v; }
    bool CheckApp() const { return m_CheckApp; }
    void setCheckApp(bool v) { m_CheckApp = v; }
    QString DefaultOS() const { return m_DefaultOS; }
    void setDefaultOS(const QString& v) { m_DefaultOS = v; }
    QString DefaultActividad() const { return m_DefaultActividad; }
    void setDefaultActividad(const QString& v) { m_DefaultActividad = v; }
    bool Imprimir() const { return m_Imprimir; }
    void setImprimir(bool v) { m_Imprimir = v; }
    // Printer device name; empty means the system default printer.
    QString Impresora() const { return m_Impresora; }
    void setImpresora(const QString& v) { m_Impresora = v; }
    qint16 Copias() const { return m_Copias; }
    void setCopias(qint16 v) { m_Copias = v; }
    qint16 Largohoja() const { return m_Largohoja; }
    void setLargohoja(qint16 v) { m_Largohoja = v; }
    QString FontName() const { return m_FontName; }
    void setFontName(const QString& v) { m_FontName = v; }
    qint16 FontSize() const { return m_FontSize; }
    void setFontSize(qint16 v) { m_FontSize = v; }
    bool Timer() const { return m_Timer; }
    void setTimer(bool v) { m_Timer = v; }
    QString DefaultDirTX() const { return m_DefaultDirTX; }
    void setDefaultDirTX(const QString& v) { m_DefaultDirTX = v; }
    QString DirTX() const { return m_DirTX; }
    void setDirTX(const QString& v) { m_DirTX = v; }
    qint16 idDelimitador() const { return m_idDelimitador; }
    void setidDelimitador(qint16 v) { m_idDelimitador = v; }
    QString DBConect() const { return m_DBConect; }
    void setDBConect(const QString& v) { m_DBConect = v; }
    QString DireccionTerminal() const { return m_DireccionTerminal; }
    void setDireccionTerminal(const QString& v) { m_DireccionTerminal = v; }
    QString TelefonoTerminal() const { return m_TelefonoTerminal; }
    void setTelefonoTerminal(const QString& v) { m_TelefonoTerminal = v; }
    QString LatitudTerminal() const { return m_LatitudTerminal; }
    void setLatitudTerminal(const QString& v) { m_LatitudTerminal = v; }
    QString LongitudTerminal() const { return m_LongitudTerminal; }
    void setLongitudTerminal(const QString& v) { m_LongitudTerminal = v; }
    QString Delimitador() const { return m_Delimitador; }
    void setDelimitador(const QString& v) { m_Delimitador = v; }

    template <typename T>
    using Lista = std::shared_ptr<Coleccion<T>>;

    Lista<clsOperacion> Operaciones() const { return m_Operaciones; }
    void setOperaciones(Lista<clsOperacion> v) { m_Operaciones = std::move(v); }
    Lista<clsPrestador> Prestadores() const { return m_Prestadores; }
    void setPrestadores(Lista<clsPrestador> v) { m_Prestadores = std::move(v); }
    Lista<clsEfector> Efectores() const { return m_Efectores; }
    void setEfectores(Lista<clsEfector> v) { m_Efectores = std::move(v); }
    Lista<clsObraSocial> ObrasSociales() const { return m_ObrasSociales; }
    void setObrasSociales(Lista<clsObraSocial> v) { m_ObrasSociales = std::move(v); }
    Lista<clsDelimitador> Delimitadores() const { return m_Delimitadores; }
    void setDelimitadores(Lista<clsDelimitador> v) { m_Delimitadores = std::move(v); }
    Lista<clsMedico> Medicos() const { return m_Medicos; }
    void setMedicos(Lista<clsMedico> v) { m_Medicos = std::move(v); }
    Lista<clsPrestacion> PrestacionesCol() const { return m_PrestacionesCol; }
    void setPrestacionesCol(Lista<clsPrestacion> v) { m_PrestacionesCol = std::move(v); }
    Lista<clsDiagnosticos> DiagnosticosCol() const { return m_DiagnosticosCol; }
    void setDiagnosticosCol(Lista<clsDiagnosticos> v) { m_DiagnosticosCol = std::move(v); }
    Lista<clsTransacciones> Transacciones() const { return m_Transacciones; }
    void setTransacciones(Lista<clsTransacciones> v) { m_Transacciones = std::move(v); }
    Lista<clsEspecialidad> Especialidades() const { return m_Especialidades; }
    void setEspecialidades(Lista<clsEspecialidad> v) { m_Especialidades = std::move(v); }

    bool isLoaded() const { return m_isLoaded; }
    void setisLoaded(bool v) { m_isLoaded = v; }
    bool isNew() const { return m_isNew; }
    void setisNew(bool v) { m_isNew = v; }

    // The service catalogue, on this object's connection.
    std::shared_ptr<clsPrestaciones> Prestaciones() const { return m_Prestaciones; }
    void setPrestaciones(std::shared_ptr<clsPrestaciones> v) { m_Prestaciones = std::move(v); }

    // Loads the lists, then the row of the terminal; false when it has no row (the lists stay
    // loaded). With bArranque also marks the insurers listed in the client's "_druvex.prm".
    bool LoadConfig(qint16 intIdTerminal, bool bArranque);
    // Saves the lists and the row of IdTerminal in one transaction.
    void UpdateConfig();
    // Saves the operations' use flags, providers, effectors and insurers and inserts or updates
    // the row of the terminal, in one transaction.
    void AddConfig(qint16 intIdTerminal);
    void LoadOperaciones();
    // With bConfiguracion false, a list without a default provider gets its first one marked
    // and stored.
    void LoadPrestadores(bool bConfiguracion);
    void LoadEfectores();
    void LoadDiagnosticos();
    void LoadPrestaciones();
    void LoadOS();
    // Creates the row of a new terminal and returns its number.
    qint16 getIdTerminal(const QString& strWorkDir);
    // Writes DefaultOS and DefaultActividad into the row of IdTerminal.
    void UpdateOS();
    void SaveOperaciones();
    qint16 getCantTerminales();
    void LoadMedicos();
    // Rebuilds Transacciones with the logged transactions of the provider of that tax number
    // (every provider when empty), each with its insurer's name, in order of date.
    void LoadTransacciones(const QString& sCuit);
    // The rows of the start list into its compact store, which is emptied first (a reload never
    // holds two histories at once): the fields it shows and those a row's void is sent with;
    // Transacciones is left empty. When a row's other fields are missing or not plainly numbers,
    // every row is read the long way, with every field's conversion and its errors.
    void LoadFilasTransacciones(const QString& sCuit, FilasTransacciones& filas);
    // The start list's statement (one parameter, the provider's tax number, when `porPrestador`),
    // unsorted; and the one it first asks for rows it cannot take from those fields alone with,
    // which the partial index IX_Transaccion_Incompleta answers.
    static QString SentenciaLista(bool porPrestador);
    static QString SentenciaIncompletas(bool sqlite, bool porPrestador);
    // The statements LoadConfig reads, in its order (the terminal's row and its delimiter take
    // one parameter each). For the benchmarks' floor.
    static QStringList SentenciasDeCarga();

    // Marks the insurers the client enables in "_druvex.prm" of the working folder now in use.
    void LeerArchivoParametros();

private:
    void LoadDelimitadores();
    void LoadEspecialidades();
    void SavePrestadores();
    void SavePrestaciones();
    void SaveDiagnosticos();
    void SaveEfectores();
    void SaveObrasSociales();
    void SaveMedicos();

    void ActualizarFila(qint16 idTerminal);
    void InsertarFila(qint16 idTerminal, const QString& workDir, const QString& defaultOS);
    // Multi-row inserts of `columnas` values each, all in the caller's transaction.
    void InsertarFilas(const QString& tabla, const QStringList& columnas, const QList<QVariantList>& filas);
    [[noreturn]] static void Relanzar(const std::exception& e);

    qint16 m_IdTerminal = 0;
    bool m_CheckApp = false;
    QString m_DefaultOS;
    QString m_DefaultActividad;
    bool m_Imprimir = false;
    QString m_Impresora;
    qint16 m_Copias = 0;
    qint16 m_Largohoja = 0;
    QString m_FontName;
    qint16 m_FontSize = 0;
    bool m_Timer = false;
    QString m_DefaultDirTX;
    QString m_DirTX;
    qint16 m_idDelimitador = 0;
    QString m_DBConect;
    QString m_DireccionTerminal;
    QString m_TelefonoTerminal;
    QString m_LatitudTerminal;
    QString m_LongitudTerminal;
    QString m_Delimitador;

    Lista<clsOperacion> m_Operaciones;
    Lista<clsPrestador> m_Prestadores;
    Lista<clsEfector> m_Efectores;
    Lista<clsObraSocial> m_ObrasSociales;
    Lista<clsDelimitador> m_Delimitadores;
    Lista<clsMedico> m_Medicos;
    Lista<clsPrestacion> m_PrestacionesCol;
    Lista<clsDiagnosticos> m_DiagnosticosCol;
    Lista<clsTransacciones> m_Transacciones;
    Lista<clsEspecialidad> m_Especialidades;

    bool m_isLoaded = false;
    bool m_isNew = true;

    std::shared_ptr<Database> m_cn;
    std::shared_ptr<clsPrestaciones> m_Prestaciones;
};
