-- Who may do what, and what was done: the roles each person holds, the
-- companies each person works for and the audit trail.
-- Written in the shared dialect of schema.sql; a database an earlier build
-- made gets these tables when the host opens it.
--
-- On SQLite the host enforces the roles of UserRoles for the operating
-- system's user; a file with no row in UserRoles is not yet shared and
-- every user may do everything. On PostgreSQL the roles are the server's
-- own (db/access_postgres.sql) and UserRoles stays empty.

-- Role: buyer, clerk, accountant, admin or reader.
CREATE TABLE UserRoles (
  UserName TEXT NOT NULL,
  Role     TEXT NOT NULL,
  PRIMARY KEY (UserName, Role)
);

-- The companies whose rows a server login sees and writes.
CREATE TABLE UserCompanies (
  UserName  TEXT NOT NULL,
  CompanyID INTEGER NOT NULL REFERENCES Companies(ID),
  PRIMARY KEY (UserName, CompanyID)
);

-- Append only: nobody may change or remove a row. Document names what was
-- acted on ("order PO000111", "voucher GRV000208", "user dana"); Details
-- says what changed, before and after where there was a before.
CREATE TABLE AuditTrail (
  ID        INTEGER PRIMARY KEY,
  At        DATETIME NOT NULL,
  UserName  TEXT NOT NULL,
  Client    TEXT,
  CompanyID INTEGER,
  Action    TEXT NOT NULL,
  Document  TEXT,
  Details   TEXT
);
CREATE INDEX AuditTrail_Document ON AuditTrail(Document);
CREATE INDEX AuditTrail_User ON AuditTrail(UserName, At);
-- The audit page's dates: a seek, not a walk back from the newest row.
CREATE INDEX AuditTrail_At ON AuditTrail(At);
