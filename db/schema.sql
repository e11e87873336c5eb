-- Purchasing data of the suite: companies, suppliers, products, discount
-- formulas, tax codes, purchase orders, vouchers, accounting periods and
-- saved control values. Money columns are declared CURRENCY so that record
-- sets read them as fixed-point amounts; dates are ISO text declared DATE.
--
-- Written once for both backends: SQLite reads it as it is, PostgreSQL
-- after the rewrites of platform/data/postgres_dialect.h. Keep to its
-- subset: types INTEGER, REAL, TEXT, CURRENCY, DATE, DATETIME, BOOLEAN
-- (defaults TRUE and FALSE), INTEGER PRIMARY KEY for IDs, COLLATE NOCASE.

CREATE TABLE Companies (
  ID             INTEGER PRIMARY KEY,
  Name           TEXT NOT NULL,
  RegNo          TEXT,
  Address1       TEXT,
  Address2       TEXT,
  PostCode       TEXT,
  TelNo          TEXT,
  FaxNo          TEXT,
  TaxNo          TEXT,
  DefaultMessage TEXT
);

CREATE TABLE Users (
  ID       INTEGER PRIMARY KEY,
  Username TEXT NOT NULL UNIQUE
);

CREATE TABLE Suppliers (
  ID         INTEGER PRIMARY KEY,
  CompanyID  INTEGER NOT NULL REFERENCES Companies(ID),
  Code       TEXT NOT NULL,
  Name       TEXT NOT NULL,
  PostBox    TEXT,
  PostOffice TEXT,
  PostCode   TEXT,
  TelNo      TEXT,
  FaxNo      TEXT,
  TaxNo      TEXT,
  Rep        TEXT
);

-- CompanyID NULL: the row serves every company.
CREATE TABLE TaxCodes (
  ID          INTEGER PRIMARY KEY,
  CompanyID   INTEGER REFERENCES Companies(ID),
  Code        TEXT NOT NULL,
  Description TEXT,
  Rate        REAL NOT NULL
);

-- FormulaType 0 lists the formula for every discount; 1 trade, 2 rebate,
-- 3 other only. Formula is a VBScript expression in X (the amount the
-- discount applies to); "0" is the absence of a formula.
CREATE TABLE DiscountFormulas (
  ID          INTEGER PRIMARY KEY,
  CompanyID   INTEGER REFERENCES Companies(ID),
  FormulaType INTEGER NOT NULL DEFAULT 0,
  Description TEXT NOT NULL,
  Formula     TEXT NOT NULL
);

CREATE TABLE Products (
  ID                      INTEGER PRIMARY KEY,
  CompanyID               INTEGER NOT NULL REFERENCES Companies(ID),
  Code                    TEXT NOT NULL,
  Description             TEXT NOT NULL,
  Price1                  CURRENCY,
  Price2                  CURRENCY,
  LeadTime                INTEGER,
  ServiceLevel            REAL,
  LastSale                DATE,
  StockOnHand             REAL,
  -- Held for suppliers on consignment: theirs until sold, never on hand.
  ConsignmentStock        REAL NOT NULL DEFAULT 0,
  StockReserved           REAL,
  QtyOnOrder              REAL,
  OrdersPending           REAL,
  ShoppingListQty         REAL,
  LastCost                CURRENCY,
  TradeDiscountFormulaID  INTEGER REFERENCES DiscountFormulas(ID),
  RebateDiscountFormulaID INTEGER REFERENCES DiscountFormulas(ID),
  TaxCodesID              INTEGER REFERENCES TaxCodes(ID)
);

-- Status: 0 saved as pending, 1 processed (open for receiving), 2 closed.
-- RowVersion counts the saves of the order: a save names the version it
-- was made from and is refused when another save came first. ChangedBy
-- and ChangedAt say whose save that was and when.
CREATE TABLE PurchaseOrders (
  ID           INTEGER PRIMARY KEY,
  CompanyID    INTEGER NOT NULL REFERENCES Companies(ID),
  SupplierID   INTEGER NOT NULL REFERENCES Suppliers(ID),
  OrderNumber  TEXT NOT NULL,
  DateOrdered  DATE NOT NULL,
  Status       INTEGER NOT NULL DEFAULT 1,
  OurRef       TEXT,
  SuppRef      TEXT,
  DelName      TEXT,
  DelAddr1     TEXT,
  DelAddr2     TEXT,
  DelAddr3     TEXT,
  DelPostCode  TEXT,
  Message      TEXT,
  RowVersion   INTEGER NOT NULL DEFAULT 1,
  ChangedBy    TEXT,
  ChangedAt    DATETIME
);
CREATE INDEX PurchaseOrders_Supplier
  ON PurchaseOrders(SupplierID, CompanyID, Status);

-- QtyReceived is kept by the voucher posting: the quantity received to date
-- against the line. A line is outstanding while Qty + BOQty > QtyReceived.
CREATE TABLE PurchaseOrderDetails (
  ID                     INTEGER PRIMARY KEY,
  PurchaseOrderID        INTEGER NOT NULL REFERENCES PurchaseOrders(ID),
  ProductID              INTEGER REFERENCES Products(ID),
  LeadTime               INTEGER,
  Qty                    REAL,
  BOQty                  REAL,
  FreeQty                REAL,
  QtyReceived            REAL NOT NULL DEFAULT 0,
  UnitPrice              CURRENCY,
  TradeDiscountFormulaID INTEGER,
  TradeDisc              CURRENCY NOT NULL DEFAULT 0,
  RebateFormulaID        INTEGER,
  RebateDisc             CURRENCY NOT NULL DEFAULT 0,
  OtherDiscountFormulaID INTEGER,
  OtherDisc              CURRENCY NOT NULL DEFAULT 0,
  NetAmount              CURRENCY,
  TaxCodesID             INTEGER REFERENCES TaxCodes(ID),
  Tax                    CURRENCY,
  TotalCost              CURRENCY
);
CREATE INDEX PurchaseOrderDetails_Order
  ON PurchaseOrderDetails(PurchaseOrderID);

CREATE TABLE TransactionTypes (
  ID          INTEGER PRIMARY KEY,
  Description TEXT NOT NULL
);

-- One table for the four voucher kinds (TranTypeID 19, 20, 31, 32).
-- SourceGRVID: for a returned voucher, the received voucher it returns.
CREATE TABLE GRVs (
  ID              INTEGER PRIMARY KEY,
  CompanyID       INTEGER NOT NULL REFERENCES Companies(ID),
  SupplierID      INTEGER NOT NULL REFERENCES Suppliers(ID),
  TranTypeID      INTEGER NOT NULL REFERENCES TransactionTypes(ID),
  VoucherNumber   TEXT NOT NULL,
  PurchaseOrderID INTEGER REFERENCES PurchaseOrders(ID),
  SourceGRVID     INTEGER REFERENCES GRVs(ID),
  DateReceived    DATE NOT NULL,
  DelNoteNumber   TEXT,
  OurRef          TEXT,
  SuppRef         TEXT,
  UserID          INTEGER REFERENCES Users(ID),
  Notes           TEXT,
  SupplierDocNo   TEXT,
  SupplierDocDate DATE,
  AccPeriodMonth  INTEGER,
  AccPeriodYearID INTEGER
);
CREATE INDEX GRVs_Supplier ON GRVs(SupplierID, CompanyID, TranTypeID);
CREATE UNIQUE INDEX GRVs_Number ON GRVs(CompanyID, VoucherNumber);

-- SourceLineID: the purchase-order line received against, or for a return
-- the received voucher line returned. QtyReturned, QtySold and QtyLeft
-- track consignment stock (and returns of received goods): on a line of a
-- consignment received voucher Qty = QtySold + QtyReturned + QtyLeft, and a
-- Null QtyLeft is a line whose stock was never counted.
CREATE TABLE GRVDetails (
  ID           INTEGER PRIMARY KEY,
  GRVID        INTEGER NOT NULL REFERENCES GRVs(ID),
  SourceLineID INTEGER,
  ProductID    INTEGER REFERENCES Products(ID),
  Qty          REAL,
  UnitPrice    CURRENCY,
  TradeDisc    CURRENCY NOT NULL DEFAULT 0,
  RebateDisc   CURRENCY NOT NULL DEFAULT 0,
  OtherDisc    CURRENCY NOT NULL DEFAULT 0,
  NetAmount    CURRENCY,
  TaxCodesID   INTEGER REFERENCES TaxCodes(ID),
  TaxAmount    CURRENCY,
  TotalCost    CURRENCY,
  QtyReturned  REAL DEFAULT 0,
  QtySold      REAL DEFAULT 0,
  QtyLeft      REAL
);
CREATE INDEX GRVDetails_GRV ON GRVDetails(GRVID);
-- What was received on an order line, or returned of a received line.
CREATE INDEX GRVDetails_SourceLine ON GRVDetails(SourceLineID);

CREATE TABLE Months (
  ID     INTEGER PRIMARY KEY,
  Months TEXT NOT NULL
);

-- A year key names a calendar year; keys are given as years are added, so
-- their order is not the years' order (periods sort by Years).
CREATE TABLE Years (
  ID    INTEGER PRIMARY KEY,
  Years INTEGER NOT NULL UNIQUE
);

CREATE TABLE AccountingPeriods (
  ID         INTEGER PRIMARY KEY,
  CompanyID  INTEGER NOT NULL REFERENCES Companies(ID),
  MonthID    INTEGER NOT NULL REFERENCES Months(ID),
  YearID     INTEGER NOT NULL REFERENCES Years(ID),
  PeriodName TEXT NOT NULL,
  Status     TEXT NOT NULL,
  IsCurrent  BOOLEAN NOT NULL DEFAULT FALSE
);
CREATE UNIQUE INDEX AccountingPeriods_Period
  ON AccountingPeriods(CompanyID, YearID, MonthID);
CREATE UNIQUE INDEX AccountingPeriods_Current
  ON AccountingPeriods(CompanyID) WHERE IsCurrent = TRUE;

-- Every change of a product's stock figures, signed (in positive, out
-- negative): Products.StockOnHand is the sum of its owned movements and
-- Products.ConsignmentStock the sum of its consignment movements.
-- MovementType: the voucher's transaction type (19, 20, 31, 32), 1 for a
-- consignment sale, 0 for an adjustment (counts and sales brought forward).
-- GRVDetailID: the voucher line moved, or for a sale the consignment line
-- sold from.
CREATE TABLE StockMovements (
  ID           INTEGER PRIMARY KEY,
  CompanyID    INTEGER NOT NULL REFERENCES Companies(ID),
  ProductID    INTEGER NOT NULL REFERENCES Products(ID),
  Consignment  BOOLEAN NOT NULL DEFAULT FALSE,
  Qty          REAL NOT NULL,
  MovementType INTEGER NOT NULL,
  GRVID        INTEGER REFERENCES GRVs(ID),
  GRVDetailID  INTEGER REFERENCES GRVDetails(ID),
  MovementDate DATE NOT NULL,
  UserID       INTEGER REFERENCES Users(ID)
);
CREATE INDEX StockMovements_Product ON StockMovements(ProductID);
CREATE INDEX StockMovements_GRV ON StockMovements(GRVID);
CREATE INDEX StockMovements_GRVDetail ON StockMovements(GRVDetailID);

-- The supplier's document raised with a voucher: an invoice (19), credit
-- note (20), receipt (31) or return note (32) for the voucher's total.
CREATE TABLE SupplierDocuments (
  ID              INTEGER PRIMARY KEY,
  CompanyID       INTEGER NOT NULL REFERENCES Companies(ID),
  SupplierID      INTEGER NOT NULL REFERENCES Suppliers(ID),
  GRVID           INTEGER NOT NULL UNIQUE REFERENCES GRVs(ID),
  DocType         TEXT NOT NULL,
  DocNumber       TEXT NOT NULL,
  DocDate         DATE NOT NULL,
  Amount          CURRENCY NOT NULL,
  AccPeriodMonth  INTEGER NOT NULL,
  AccPeriodYearID INTEGER NOT NULL REFERENCES Years(ID)
);

-- Period-end procedures that have run; ProcedureType 6 is the supplier
-- period procedure.
CREATE TABLE PeriodProcedures (
  ID            INTEGER PRIMARY KEY,
  CompanyID     INTEGER NOT NULL REFERENCES Companies(ID),
  ProcedureType INTEGER NOT NULL,
  MonthID       INTEGER NOT NULL,
  YearID        INTEGER NOT NULL REFERENCES Years(ID),
  DateRun       DATE
);

-- Values a company or a user last left in a named control of the screens.
CREATE TABLE CompanyControlValues (
  CompanyID    INTEGER NOT NULL,
  ControlKind  TEXT NOT NULL COLLATE NOCASE,
  ControlName  TEXT NOT NULL COLLATE NOCASE,
  ControlIndex INTEGER NOT NULL,
  ControlValue TEXT,
  PRIMARY KEY (CompanyID, ControlKind, ControlName, ControlIndex)
);

-- UserName '' holds the value for every user of that database.
CREATE TABLE UserControlValues (
  DatabaseName TEXT NOT NULL COLLATE NOCASE,
  UserName     TEXT NOT NULL DEFAULT '',
  ControlKind  TEXT NOT NULL COLLATE NOCASE,
  ControlName  TEXT NOT NULL COLLATE NOCASE,
  ControlIndex INTEGER NOT NULL,
  ControlValue TEXT,
  PRIMARY KEY (DatabaseName, UserName, ControlKind, ControlName, ControlIndex)
);

-- The procedures the data gateway may run. Body: one statement with the
-- inputs as ?1..?n. output_names: the output parameters the body's single
-- row fills, in order (empty for procedures that return a record set).
-- column_types: declared types of computed result columns, as
-- "Name:currency,Other:double".
CREATE TABLE kvt_procedures (
  name            TEXT PRIMARY KEY COLLATE NOCASE,
  body            TEXT NOT NULL,
  parameter_count INTEGER NOT NULL,
  output_names    TEXT NOT NULL DEFAULT '',
  column_types    TEXT NOT NULL DEFAULT ''
);

-- ---------------------------------------------------------------------
-- Orders a buyer ended. Status 2 is closed (what is still to come is no
-- longer expected), 3 cancelled (before anything was received); EndedBy
-- and EndedAt say who ended it and when. A database made before these
-- columns gets them when the host opens it.
ALTER TABLE PurchaseOrders ADD COLUMN EndedBy TEXT;
ALTER TABLE PurchaseOrders ADD COLUMN EndedAt DATETIME;
-- A consignment sale's date (GRVDetails.QtySold says how much was sold).
ALTER TABLE GRVDetails ADD COLUMN SoldOn DATE;
-- A product's barcode, as a scanner at the dock reads it: one product per
-- barcode in a company, and none needed.
ALTER TABLE Products ADD COLUMN Barcode TEXT;
CREATE UNIQUE INDEX Products_Barcode ON Products(CompanyID, Barcode);
-- Vouchers being captured through the API, kept between its requests and
-- across its restarts: the owner's choices and typed lines (JSON), the
-- idempotency keys of the changes made, and once posted the key and the
-- answer. PostingFrom is the next voucher ID when a post began, so a
-- post cut short by a restart is found rather than made twice.
CREATE TABLE VoucherDrafts (
  ID            INTEGER PRIMARY KEY,
  CompanyID     INTEGER NOT NULL,
  Owner         TEXT NOT NULL,
  TranTypeID    INTEGER NOT NULL,
  SupplierID    INTEGER NOT NULL,
  SourceID      INTEGER NOT NULL,
  DelNoteNumber TEXT NOT NULL DEFAULT '',
  SupplierRef   TEXT NOT NULL DEFAULT '',
  Lines         TEXT NOT NULL DEFAULT '[]',
  AppliedKeys   TEXT NOT NULL DEFAULT '[]',
  PostingKey    TEXT,
  PostingFrom   INTEGER,
  Posted        TEXT,
  UpdatedAt     DATETIME NOT NULL
);

-- Consignment sales made through the API under an idempotency key: a
-- sale sent again answers what it answered (Answer, JSON; empty while it
-- is being made) instead of selling again.
CREATE TABLE ApiSaleKeys (
  CompanyID INTEGER NOT NULL,
  Owner     TEXT NOT NULL,
  SaleKey   TEXT NOT NULL,
  Request   TEXT NOT NULL,
  Answer    TEXT,
  UpdatedAt DATETIME NOT NULL,
  PRIMARY KEY (CompanyID, Owner, SaleKey)
);

-- ---- Long histories: every list reads one page -------------------------------
-- Years of orders and vouchers are never read whole: the lists page newest
-- first and filter in the database through these. A database an earlier
-- build made gets them when the host opens it (IF NOT EXISTS: run again,
-- they change nothing).
CREATE INDEX IF NOT EXISTS PurchaseOrders_Dated
  ON PurchaseOrders(CompanyID, DateOrdered, ID);
CREATE INDEX IF NOT EXISTS PurchaseOrders_SupplierDated
  ON PurchaseOrders(SupplierID, CompanyID, DateOrdered, ID);
CREATE INDEX IF NOT EXISTS PurchaseOrders_StatusDated
  ON PurchaseOrders(CompanyID, Status, DateOrdered, ID);
-- (The open orders with lines to come are OrdersToCome's, kept by
-- triggers. No index names QtyReceived, so that a server updates a line a
-- receipt draws on in place, without touching the lines' indexes.)
CREATE INDEX IF NOT EXISTS GRVs_SupplierDated
  ON GRVs(SupplierID, CompanyID, TranTypeID, DateReceived, ID);
CREATE INDEX IF NOT EXISTS PurchaseOrders_Number
  ON PurchaseOrders(CompanyID, OrderNumber);
-- The delivery names (branches) and the orders of a product's lines, which
-- the order screen reads.
CREATE INDEX IF NOT EXISTS PurchaseOrders_Branch
  ON PurchaseOrders(CompanyID, DelName);
CREATE INDEX IF NOT EXISTS PurchaseOrderDetails_Product
  ON PurchaseOrderDetails(ProductID);
-- The last number of a voucher series (every prefix is three letters),
-- longest first: found at once, where sorting the company's vouchers took
-- a tenth of a second per posting after ten years.
CREATE INDEX IF NOT EXISTS GRVs_Series
  ON GRVs(CompanyID, substr(VoucherNumber, 1, 3), length(VoucherNumber), VoucherNumber);

-- ---- Books: what the database itself refuses ------------------------------
-- A supplier's invoice (or credit note...) number is booked once per kind.
CREATE UNIQUE INDEX SupplierDocuments_Number
  ON SupplierDocuments(SupplierID, DocType, DocNumber);
