-- Quorvan database, PostgreSQL (through the PostgreSQL Unicode ODBC driver).
--
-- The program creates each table below when it is missing ("-- table:" heads a section that
-- runs only then, seed rows included).
-- It first reads the catalogue: when every table and every index named here is there (and
-- no index "always" drops is), it runs nothing. Otherwise it runs what is missing in one
-- transaction, under an advisory lock of the schema, so terminals starting together make it once.
-- "-- always" and "-- unless:" hold index statements only: they are checked by index name.
-- A table that is there but lost an index of its section gets that index again.
-- Column order matters: "SELECT *" is read by position
-- and the log exports write the columns in their defined order. Identifiers are unquoted, so
-- the server folds them to lower case; the program reads columns without regard to case.
-- Text is VARCHAR(n), flags SMALLINT 1/0 (never BOOLEAN), ticket numbers BIGINT.
--
-- Names sort as a person expects through the collation "nombres": ICU's root collation,
-- deterministic, so ORDER BY puts "alfa" next to "Alfa" and before "Beta" (and accented
-- letters next to their base letter) while "=" and LIKE still compare exactly. It lives in
-- the schema of the tables, so it needs no server-wide setup and no extension.
--
-- Efectores.IdEfector: a trigger gives an insert that does not name it the largest id plus 1.
-- A sequence would fall behind the explicit ids that the renumbering save writes.

-- setup
CREATE COLLATION IF NOT EXISTS nombres (provider = icu, locale = 'und');

-- table: Parametros
CREATE TABLE Parametros (
    IdTerminal INTEGER NOT NULL PRIMARY KEY,
    CheckApp SMALLINT NOT NULL DEFAULT 0,
    IdDelimitador INTEGER,
    Imprimir SMALLINT NOT NULL DEFAULT 0,
    Impresora VARCHAR(255),
    Copias INTEGER,
    Largohoja INTEGER,
    Timer SMALLINT NOT NULL DEFAULT 0,
    WorkDir VARCHAR(255),
    DirTX VARCHAR(255),
    DefaultDirTX INTEGER,
    DBConect VARCHAR(20),
    FontName VARCHAR(100),
    FontSize INTEGER,
    DefaultOS VARCHAR(100),
    DefaultActividad INTEGER,
    DireccionTerminal VARCHAR(255),
    TelefonoTerminal VARCHAR(50),
    LatitudTerminal VARCHAR(30),
    LongitudTerminal VARCHAR(30)
);

-- table: Delimitadores
CREATE TABLE Delimitadores (
    IdDelimitador INTEGER NOT NULL PRIMARY KEY,
    Delimitador VARCHAR(10) NOT NULL
);
INSERT INTO Delimitadores (IdDelimitador, Delimitador) VALUES (1, 'TAB');
INSERT INTO Delimitadores (IdDelimitador, Delimitador) VALUES (2, ';');
INSERT INTO Delimitadores (IdDelimitador, Delimitador) VALUES (3, ',');
INSERT INTO Delimitadores (IdDelimitador, Delimitador) VALUES (4, '|');

-- table: Operaciones
CREATE TABLE Operaciones (
    Identificacion VARCHAR(3) NOT NULL PRIMARY KEY,
    Nombre VARCHAR(100) NOT NULL,
    Descripcion VARCHAR(255) NOT NULL DEFAULT '',
    Utiliza SMALLINT NOT NULL DEFAULT 1
);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('01A', 'Afiliado', 'Afiliado', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('01B', 'Afiliado / Prestación', 'Afiliado / Prestación', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('01C', 'Verificación completa', 'Verificación completa', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02A', 'Prestación', 'Prestación', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02B', 'Prescripción', 'Prescripción', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02L', 'Prestación Pre-Autoriz.', 'Prestación Pre-Autoriz.', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02C', 'Solicitar Autorización', 'Solicitar Autorización', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02D', 'Prestación Diferida', 'Prestación Diferida / Informar Diagnóstico', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('03A', 'Rescatar Solicitud', 'Rescatar Solicitud', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('04A', 'Anulación', 'Anulación', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02S', 'Solicitar Aut. Cirugía', 'Solicitar Aut. Cirugía', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02Q', 'Inf. Cirugía Ya Realizada', 'Inf. Cirugía Ya Realizada', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02I', 'Admisión Internación', 'Admisión Internación', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02E', 'Alta Internación', 'Alta Internación', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('02P', 'Enviar Protocolo Quirúrgico', 'Enviar Protocolo Quirúrgico', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('2C', 'Autorización Ortodoncia', 'Autorización Ortodoncia', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('2CB', 'Solicitud Prótesis', 'Solicitud Prótesis', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('3A', 'Rescate Sol. Prótesis', 'Rescate Sol. Prótesis', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('03F', 'Consulta cierre', 'Consulta cierre', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('05F', 'Cierre de Lote', 'Cierre de Lote', 1);
INSERT INTO Operaciones (Identificacion, Nombre, Descripcion, Utiliza) VALUES ('31', 'Prescripción Medicamen.', 'Prescripción Medicamen.', 1);

-- table: Prestadores
CREATE TABLE Prestadores (
    IdPrestador INTEGER NOT NULL PRIMARY KEY,
    Nombre VARCHAR(100) NOT NULL COLLATE nombres,
    Cuit VARCHAR(20) NOT NULL,
    RequierePrescripcion SMALLINT NOT NULL DEFAULT 0,
    Odontologo SMALLINT NOT NULL DEFAULT 0,
    codigoOSDE DOUBLE PRECISION NOT NULL DEFAULT 0,
    Predeterminado SMALLINT NOT NULL DEFAULT 0,
    Filial INTEGER NOT NULL DEFAULT 0,
    Admisor INTEGER DEFAULT 0,
    Baja SMALLINT NOT NULL DEFAULT 0,
    Licencia VARCHAR(20),
    RequiereMatPrescriptor SMALLINT NOT NULL DEFAULT 0
);

-- table: Especialidades
CREATE TABLE Especialidades (
    IdEspecialidad INTEGER NOT NULL PRIMARY KEY,
    Especialidad VARCHAR(100) NOT NULL COLLATE nombres
);

-- table: Efectores
CREATE TABLE Efectores (
    IdEfector INTEGER NOT NULL PRIMARY KEY,
    Nombre VARCHAR(100) NOT NULL COLLATE nombres,
    Cuit VARCHAR(20) NOT NULL DEFAULT '',
    Matricula VARCHAR(20) NOT NULL DEFAULT '',
    TipoMatricula VARCHAR(10) NOT NULL DEFAULT '',
    Baja SMALLINT NOT NULL DEFAULT 0,
    IdEspecialidad INTEGER
);
CREATE OR REPLACE FUNCTION efectores_id() RETURNS trigger AS $$
BEGIN
    IF NEW.IdEfector IS NULL THEN
        SELECT COALESCE(MAX(IdEfector), 0) + 1 INTO NEW.IdEfector FROM Efectores;
    END IF;
    RETURN NEW;
END
$$ LANGUAGE plpgsql;
CREATE TRIGGER efectores_id BEFORE INSERT ON Efectores FOR EACH ROW EXECUTE FUNCTION efectores_id();

-- table: ObrasSociales
CREATE TABLE ObrasSociales (
    IdObraSocial INTEGER NOT NULL,
    Nombre VARCHAR(100) NOT NULL COLLATE nombres,
    OnLine SMALLINT NOT NULL DEFAULT 0,
    UtilizarCI SMALLINT NOT NULL DEFAULT 0,
    AUISOA DOUBLE PRECISION NOT NULL DEFAULT 0,
    Empresa INTEGER NOT NULL DEFAULT 0,
    Actividad INTEGER NOT NULL DEFAULT 0,
    FilialOS INTEGER DEFAULT 0,
    UtilizaCSC SMALLINT NOT NULL DEFAULT 0
);

-- table: Diagnosticos
CREATE TABLE Diagnosticos (
    Codigo VARCHAR(20) NOT NULL,
    Diagnostico VARCHAR(255) NOT NULL COLLATE nombres,
    Baja SMALLINT NOT NULL DEFAULT 0
);

-- table: Prestaciones
CREATE TABLE Prestaciones (
    IdObraSocial INTEGER NOT NULL DEFAULT 0,
    CodigoPrestacion VARCHAR(20) NOT NULL,
    CodigoInterno VARCHAR(20) NOT NULL DEFAULT '',
    Valor1 VARCHAR(20) NOT NULL DEFAULT '',
    Valor2 VARCHAR(20) NOT NULL DEFAULT '',
    Descripcion VARCHAR(255) NOT NULL DEFAULT '' COLLATE nombres,
    Observaciones VARCHAR(255) NOT NULL DEFAULT ''
);
CREATE INDEX IX_Prestaciones_Codigo ON Prestaciones (CodigoPrestacion);

-- table: Medicos
CREATE TABLE Medicos (
    ApellidoNombre VARCHAR(100) COLLATE nombres,
    Matricula INTEGER,
    TipoMatricula VARCHAR(10),
    Baja SMALLINT NOT NULL DEFAULT 0
);

-- table: Transaccion
CREATE TABLE Transaccion (
    Operacion VARCHAR(2),
    Tarjeta VARCHAR(100),
    TipoLectura VARCHAR(1),
    Prestador VARCHAR(11),
    PrestadorSolicitante VARCHAR(20),
    TicketPadre BIGINT,
    FechaPrestacion VARCHAR(8),
    HoraPrestacion VARCHAR(4),
    TipoMatriculaMPrescriptor VARCHAR(2),
    MatriculaMedicoPrescriptor VARCHAR(20),
    CodigoAutorizacion INTEGER,
    NumeroAutorizacion VARCHAR(12),
    Ticket BIGINT,
    Fecha VARCHAR(8),
    Hora VARCHAR(4),
    PlanAsociado VARCHAR(5),
    TipoAsociado SMALLINT,
    MontoAbonar DOUBLE PRECISION,
    Error SMALLINT,
    Comentario VARCHAR(40),
    NumeroTrxPrestador BIGINT,
    CodigoEmpresa INTEGER
);
CREATE INDEX IX_Transaccion_Ticket ON Transaccion (Ticket);

-- table: ItemPrestaciones
CREATE TABLE ItemPrestaciones (
    Ticket BIGINT,
    CodigoPrestacion VARCHAR(10),
    Cantidad INTEGER
);
CREATE INDEX IX_ItemPrestaciones_Ticket ON ItemPrestaciones (Ticket);

-- table: TOSDE_svl1
CREATE TABLE TOSDE_svl1 (
    IdTerminal INTEGER,
    NumeroTransaccion INTEGER NOT NULL PRIMARY KEY,
    AUCUIT VARCHAR(100),
    AUISOA VARCHAR(100),
    AUFILA VARCHAR(100),
    AUASOA VARCHAR(100),
    AUBENA VARCHAR(100),
    AUDIGA VARCHAR(100),
    AUVERA VARCHAR(100),
    AUTRAC VARCHAR(100),
    AUATRC VARCHAR(100),
    AUMANA VARCHAR(100),
    AUWREF VARCHAR(100),
    AUNREF VARCHAR(100),
    AUTMAT VARCHAR(100),
    AUNMAT VARCHAR(100),
    AUCEFE VARCHAR(100),
    AUFECP VARCHAR(100),
    AUDSM1 VARCHAR(100),
    AUDSM2 VARCHAR(100),
    AUFINA VARCHAR(100),
    NombreMedico VARCHAR(100),
    NombreAfiliado VARCHAR(100),
    FechaTransaccion VARCHAR(8),
    Diferida SMALLINT
);

-- table: TOSDE_svl2
CREATE TABLE TOSDE_svl2 (
    NumeroTransaccion INTEGER NOT NULL,
    AUPRE VARCHAR(20),
    AUTIP VARCHAR(10),
    AUARA VARCHAR(10),
    AUCAN VARCHAR(10),
    AUODP VARCHAR(10),
    AUODC VARCHAR(10),
    AURES VARCHAR(10)
);

-- table: TOSDE_svl3
CREATE TABLE TOSDE_svl3 (
    NumeroTransaccion INTEGER NOT NULL,
    AUAUTO VARCHAR(100),
    AUWHOO VARCHAR(100),
    AUREST VARCHAR(100),
    AULEYD VARCHAR(255),
    AULEYP VARCHAR(255),
    AUMONT VARCHAR(20),
    AUSYST VARCHAR(100)
);

-- table: TGenerica_svl1
CREATE TABLE TGenerica_svl1 (
    IdTerminal INTEGER,
    NumeroTransaccion INTEGER NOT NULL PRIMARY KEY,
    CodigoTransaccion VARCHAR(10),
    CuitPrestador VARCHAR(20),
    Banda VARCHAR(255),
    NombreAfiliado VARCHAR(100),
    NumeroAfiliado VARCHAR(50),
    NumeroAutorizacion VARCHAR(20),
    TipoMatricula INTEGER,
    NumeroMatricula INTEGER,
    FormaIngreso VARCHAR(1),
    NombreMedico VARCHAR(100),
    FechaTransaccion VARCHAR(8),
    IdObraSocial INTEGER
);

-- table: TGenerica_svl2
CREATE TABLE TGenerica_svl2 (
    NumeroTransaccion INTEGER NOT NULL,
    CodigoPrestacion BIGINT,
    CodigoAutorizacion BIGINT,
    Diagnostico VARCHAR(255)
);

-- always
-- The lookups by key that the table refresh makes once per answer line; a database created
-- before these existed gets them on its next start.
CREATE INDEX IF NOT EXISTS IX_Medicos_Matricula ON Medicos (Matricula, TipoMatricula);
CREATE INDEX IF NOT EXISTS IX_Efectores_Matricula ON Efectores (Matricula, TipoMatricula);
CREATE INDEX IF NOT EXISTS IX_Prestadores_Cuit ON Prestadores (Cuit);
CREATE INDEX IF NOT EXISTS IX_Diagnosticos_Codigo ON Diagnosticos (Codigo);
-- A provider's history is listed by date: the index hands it over in that order, and its first
-- column serves the lookups by provider that the narrower index made before.
CREATE INDEX IF NOT EXISTS IX_Transaccion_PrestadorFecha ON Transaccion (Prestador, Fecha);
DROP INDEX IF EXISTS IX_Transaccion_Prestador;
-- Each listed transaction looks up the insurers of its company: without this index SQLite scans
-- the whole table once per row of a provider's list.
CREATE INDEX IF NOT EXISTS IX_ObrasSociales_Empresa ON ObrasSociales (Empresa, Nombre);
-- The export walks an insurer's log by date and ticket, its items by code within the ticket and
-- the requesting effector by CUIT: in that order from the indexes, the rows stream without a
-- sort of the whole period.
CREATE INDEX IF NOT EXISTS IX_Transaccion_EmpresaFecha ON Transaccion (CodigoEmpresa, Fecha, Ticket);
-- The start list reads only the fields it shows; it first asks for rows whose other fields are
-- missing or not plainly numbers (the program asks with this very condition), which this index,
-- empty in a sound log, answers without reading the log.
CREATE INDEX IF NOT EXISTS IX_Transaccion_Incompleta ON Transaccion (Prestador) WHERE
    Ticket IS NULL OR Error IS NULL OR Fecha IS NULL OR Hora IS NULL OR Comentario IS NULL
    OR FechaPrestacion IS NULL OR HoraPrestacion IS NULL OR MatriculaMedicoPrescriptor IS NULL
    OR MontoAbonar IS NULL
    OR MontoAbonar NOT BETWEEN -1.7976931348623157e308 AND 1.7976931348623157e308
    OR NumeroTrxPrestador IS NULL
    OR NumeroTrxPrestador NOT BETWEEN -9007199254740992 AND 9007199254740992 OR TicketPadre IS NULL
    OR TicketPadre NOT BETWEEN -9007199254740992 AND 9007199254740992 OR TipoAsociado IS NULL;
CREATE INDEX IF NOT EXISTS IX_ItemPrestaciones_TicketCodigo ON ItemPrestaciones (Ticket, CodigoPrestacion);
CREATE INDEX IF NOT EXISTS IX_Efectores_Cuit ON Efectores (Cuit);
-- The log's lines and answers are read and deleted by their request's number.
CREATE INDEX IF NOT EXISTS IX_TOSDE_svl2_Numero ON TOSDE_svl2 (NumeroTransaccion);
CREATE INDEX IF NOT EXISTS IX_TOSDE_svl3_Numero ON TOSDE_svl3 (NumeroTransaccion);
CREATE INDEX IF NOT EXISTS IX_TGenerica_svl2_Numero ON TGenerica_svl2 (NumeroTransaccion);

-- A log header table of an older database, created without its key, gets a unique index on
-- the number, unless it already has a key or holds a repeated number (left as it stands).
-- unless: SELECT 1 FROM information_schema.table_constraints WHERE table_schema = current_schema() AND table_name = 'tosde_svl1' AND constraint_type = 'PRIMARY KEY' UNION ALL SELECT 1 FROM (SELECT NumeroTransaccion FROM TOSDE_svl1 GROUP BY NumeroTransaccion HAVING COUNT(*) > 1) R
CREATE UNIQUE INDEX IF NOT EXISTS UX_TOSDE_svl1_Numero ON TOSDE_svl1 (NumeroTransaccion);
-- unless: SELECT 1 FROM information_schema.table_constraints WHERE table_schema = current_schema() AND table_name = 'tgenerica_svl1' AND constraint_type = 'PRIMARY KEY' UNION ALL SELECT 1 FROM (SELECT NumeroTransaccion FROM TGenerica_svl1 GROUP BY NumeroTransaccion HAVING COUNT(*) > 1) R
CREATE UNIQUE INDEX IF NOT EXISTS UX_TGenerica_svl1_Numero ON TGenerica_svl1 (NumeroTransaccion);
