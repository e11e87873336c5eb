-- Who may do what on a server. Run last, by the schema's owner, in the
-- schema the tables are in.
--
-- Five group roles hold the rights: kvt_buyer, kvt_clerk, kvt_accountant,
-- kvt_admin and kvt_reader. They are the server's (every database on it
-- shares them); each person is a login role that holds one or more.
-- Writes are granted per role, table by table and column by column, and
-- triggers refuse what a grant cannot express: whose setting a row is,
-- which period a voucher posts to, a voucher's number once it has one.
-- Row-level security keeps each company's rows to the logins of
-- UserCompanies. The schema's owner (and a superuser) builds and migrates
-- the schema and is held to none of it. A refusal is SQLSTATE 42501, as
-- the server's own "permission denied" is.

DO $$
DECLARE
  wanted text;
BEGIN
  FOREACH wanted IN ARRAY ARRAY['kvt_buyer', 'kvt_clerk', 'kvt_accountant',
                                'kvt_admin', 'kvt_reader'] LOOP
    IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = wanted) THEN
      BEGIN
        EXECUTE format('CREATE ROLE %I NOLOGIN', wanted);
      EXCEPTION WHEN duplicate_object OR unique_violation THEN
        NULL;  -- another database's build made it meanwhile
      END;
    END IF;
  END LOOP;
END
$$;

-- kvt_unbound, kvt_has_role, kvt_my_companies and kvt_period_order are in
-- access_functions_postgres.sql, which runs first.

CREATE FUNCTION kvt_refuse(message text) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
  RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege', MESSAGE = message;
END
$$;

-- Trigger: the change needs the role TG_ARGV[0]; TG_ARGV[1] says so.
CREATE FUNCTION kvt_require_role() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  IF NOT kvt_has_role(TG_ARGV[0]) THEN
    PERFORM kvt_refuse(TG_ARGV[1]);
  END IF;
  RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
END
$$;

CREATE FUNCTION kvt_is_posting_rule(control text) RETURNS boolean
LANGUAGE sql IMMUTABLE AS $$
  SELECT lower(control) IN ('chkaccountant', 'chkautoadvanceperiod',
                            'chkpriorperiodgrvposting', 'chknoninvoicegrv')
$$;

-- Trigger: the posting rules are the accountant's, every other company
-- setting the administrator's. Writing a value that is already there (a
-- settings page saves all of its values) needs neither.
CREATE FUNCTION kvt_check_company_setting() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  changed CompanyControlValues%ROWTYPE;
  before text;
  found_before boolean := FALSE;
BEGIN
  IF TG_OP = 'DELETE' THEN
    changed := OLD;
  ELSE
    changed := NEW;
  END IF;
  IF TG_OP = 'UPDATE' AND NEW IS NOT DISTINCT FROM OLD THEN
    RETURN NEW;
  END IF;
  IF TG_OP = 'INSERT' THEN
    SELECT ControlValue, TRUE INTO before, found_before FROM CompanyControlValues
     WHERE CompanyID = NEW.CompanyID AND ControlKind = NEW.ControlKind
       AND ControlName = NEW.ControlName AND ControlIndex = NEW.ControlIndex;
    IF found_before AND before IS NOT DISTINCT FROM NEW.ControlValue THEN
      RETURN NEW;
    END IF;
  END IF;
  IF kvt_is_posting_rule(changed.ControlName) THEN
    IF NOT kvt_has_role('accountant') THEN
      PERFORM kvt_refuse('Only an accountant may change the posting rules.');
    END IF;
  ELSIF NOT kvt_has_role('admin') THEN
    PERFORM kvt_refuse('Only an administrator may change the company''s settings.');
  END IF;
  RETURN changed;
END
$$;

CREATE FUNCTION kvt_company_rule_on(company integer, control text, control_index integer)
RETURNS boolean
LANGUAGE sql STABLE AS $$
  SELECT EXISTS (SELECT 1 FROM CompanyControlValues
                  WHERE CompanyID = company AND ControlKind = 'CheckBox'
                    AND ControlName = control AND ControlIndex = control_index
                    AND trim(ControlValue) = '1')
$$;

-- Trigger: a voucher posts to the company's current period, or, for an
-- accountant, to another period the company's posting rules allow.
CREATE FUNCTION kvt_check_voucher_period() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  chosen integer := kvt_period_order(NEW.AccPeriodMonth, NEW.AccPeriodYearID);
  current_period integer;
  last_closed integer;
BEGIN
  IF kvt_unbound() THEN
    RETURN NEW;
  END IF;
  SELECT kvt_period_order(MonthID, YearID) INTO current_period
    FROM AccountingPeriods WHERE CompanyID = NEW.CompanyID AND IsCurrent;
  IF chosen IS NOT DISTINCT FROM current_period THEN
    RETURN NEW;
  END IF;
  IF NOT pg_has_role(session_user, 'kvt_accountant', 'MEMBER') THEN
    PERFORM kvt_refuse('Only an accountant may post to a period other than the current one.');
  END IF;
  IF chosen < current_period AND NOT kvt_company_rule_on(NEW.CompanyID, 'chkAccountant', 0) THEN
    PERFORM kvt_refuse('Prior Accounting Period posting is not permitted');
  END IF;
  IF chosen > current_period AND NOT kvt_company_rule_on(NEW.CompanyID, 'chkAccountant', 1) THEN
    PERFORM kvt_refuse('Future Accounting Period posting is not permitted');
  END IF;
  SELECT max(kvt_period_order(MonthID, YearID)) INTO last_closed
    FROM PeriodProcedures WHERE CompanyID = NEW.CompanyID AND ProcedureType = 6;
  IF chosen <= last_closed
     AND NOT kvt_company_rule_on(NEW.CompanyID, 'chkPriorPeriodGRVPosting', 0) THEN
    PERFORM kvt_refuse('Posting to any period Prior to the last Supplier Period Procedure '
                       'is not permitted');
  END IF;
  RETURN NEW;
END
$$;

-- Trigger: a voucher changes only to take its number, once (a clerk's
-- grant reaches no other column).
CREATE FUNCTION kvt_check_voucher_change() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  IF NOT kvt_unbound() AND OLD.VoucherNumber NOT LIKE '~%' THEN
    PERFORM kvt_refuse('A posted voucher cannot be changed.');
  END IF;
  RETURN NEW;
END
$$;

-- Trigger: a line goods were received against stays.
CREATE FUNCTION kvt_check_order_line_removal() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  IF OLD.QtyReceived <> 0 THEN
    PERFORM kvt_refuse('An order line goods were received against cannot be removed.');
  END IF;
  RETURN OLD;
END
$$;

-- The audit trail stamps who, when and from where itself
-- (db/server_log_postgres.sql), and nobody changes a row of it.
CREATE FUNCTION kvt_refuse_audit_change() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  PERFORM kvt_refuse('The audit trail cannot be changed.');
  RETURN NULL;
END
$$;

CREATE TRIGGER CompanyControlValues_Who BEFORE INSERT OR UPDATE OR DELETE
  ON CompanyControlValues FOR EACH ROW EXECUTE FUNCTION kvt_check_company_setting();
CREATE TRIGGER GRVs_Period BEFORE INSERT ON GRVs
  FOR EACH ROW EXECUTE FUNCTION kvt_check_voucher_period();
CREATE TRIGGER GRVs_Change BEFORE UPDATE ON GRVs
  FOR EACH ROW EXECUTE FUNCTION kvt_check_voucher_change();
CREATE TRIGGER GRVs_Removal BEFORE DELETE ON GRVs
  FOR EACH ROW EXECUTE FUNCTION kvt_require_role('admin', 'A posted voucher cannot be removed.');
-- Clerks lock an order's row while they receive against it, which takes
-- an UPDATE grant; the change itself is the buyer's.
CREATE TRIGGER PurchaseOrders_Buyer BEFORE UPDATE ON PurchaseOrders
  FOR EACH ROW EXECUTE FUNCTION kvt_require_role('buyer', 'Only a buyer may change an order.');
CREATE TRIGGER Companies_Admin BEFORE UPDATE ON Companies
  FOR EACH ROW EXECUTE FUNCTION
  kvt_require_role('admin', 'Only an administrator may change a company.');
-- Posting locks the supplier's row while it books a supplier document
-- number; changing the supplier stays the administrator's.
CREATE TRIGGER Suppliers_Admin BEFORE UPDATE ON Suppliers
  FOR EACH ROW EXECUTE FUNCTION
  kvt_require_role('admin', 'Only an administrator may change a supplier.');
CREATE TRIGGER PurchaseOrderDetails_Removal BEFORE DELETE ON PurchaseOrderDetails
  FOR EACH ROW EXECUTE FUNCTION kvt_check_order_line_removal();
CREATE TRIGGER AuditTrail_NoChange BEFORE UPDATE OR DELETE ON AuditTrail
  FOR EACH ROW EXECUTE FUNCTION kvt_refuse_audit_change();
CREATE TRIGGER AuditTrail_NoTruncate BEFORE TRUNCATE ON AuditTrail
  FOR EACH STATEMENT EXECUTE FUNCTION kvt_refuse_audit_change();

-- Grants: every role reads everything; writes as
-- the roles' work needs them. Nothing for PUBLIC.
DO $$
DECLARE
  target text := quote_ident(current_schema());
BEGIN
  EXECUTE format('REVOKE ALL ON ALL TABLES IN SCHEMA %s FROM PUBLIC', target);
  EXECUTE format('GRANT SELECT ON ALL TABLES IN SCHEMA %s TO kvt_buyer, kvt_clerk, '
                 'kvt_accountant, kvt_admin, kvt_reader', target);
END
$$;

-- Vouchers the API keeps while a clerk types them, and its sales' keys,
-- are the server's alone: it reads and writes them with its own login,
-- and one clerk's typing is no one else's to read.
DO $$
BEGIN
  IF to_regclass('voucherdrafts') IS NOT NULL THEN
    REVOKE ALL ON VoucherDrafts FROM kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin, kvt_reader;
  END IF;
  IF to_regclass('apisalekeys') IS NOT NULL THEN
    REVOKE ALL ON ApiSaleKeys FROM kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin, kvt_reader;
  END IF;
END
$$;

GRANT INSERT ON AuditTrail TO kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin, kvt_reader;
GRANT INSERT, UPDATE, DELETE ON UserControlValues
  TO kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin, kvt_reader;

-- Buyers: orders and their lines, all but what receiving keeps.
GRANT INSERT, UPDATE, DELETE ON PurchaseOrders TO kvt_buyer;
GRANT INSERT (PurchaseOrderID, ProductID, LeadTime, Qty, BOQty, FreeQty, UnitPrice,
              TradeDiscountFormulaID, TradeDisc, RebateFormulaID, RebateDisc,
              OtherDiscountFormulaID, OtherDisc, NetAmount, TaxCodesID, Tax, TotalCost),
      UPDATE (ProductID, LeadTime, Qty, BOQty, FreeQty, UnitPrice, TradeDiscountFormulaID,
              TradeDisc, RebateFormulaID, RebateDisc, OtherDiscountFormulaID, OtherDisc,
              NetAmount, TaxCodesID, Tax, TotalCost),
      DELETE
  ON PurchaseOrderDetails TO kvt_buyer;

-- Clerks and accountants post vouchers (accountants to other periods too).
GRANT INSERT ON GRVs, GRVDetails, StockMovements, SupplierDocuments
  TO kvt_clerk, kvt_accountant;
GRANT UPDATE (VoucherNumber) ON GRVs TO kvt_clerk, kvt_accountant;
GRANT UPDATE (QtyReturned, QtySold, QtyLeft, SoldOn) ON GRVDetails TO kvt_clerk, kvt_accountant;
GRANT UPDATE (StockOnHand, ConsignmentStock) ON Products TO kvt_clerk, kvt_accountant;
GRANT UPDATE (QtyReceived) ON PurchaseOrderDetails TO kvt_clerk, kvt_accountant;
GRANT UPDATE (RowVersion) ON PurchaseOrders TO kvt_clerk, kvt_accountant;
GRANT UPDATE (Name) ON Companies TO kvt_clerk, kvt_accountant;
GRANT UPDATE (Name) ON Suppliers TO kvt_clerk, kvt_accountant;

-- Accountants: periods and the posting rules (the trigger tells the
-- rules from the administrator's settings).
GRANT INSERT, UPDATE, DELETE ON AccountingPeriods, PeriodProcedures, CompanyControlValues
  TO kvt_accountant;

-- Administrators: settings, the companies' master data, who works where.
GRANT INSERT, UPDATE, DELETE ON CompanyControlValues, Companies, Suppliers, Products,
  TaxCodes, DiscountFormulas, Users, UserCompanies TO kvt_admin;
GRANT DELETE ON GRVs TO kvt_admin;

-- Each company's rows to its own logins; a line goes with its document.
DO $$
DECLARE
  company_table text;
BEGIN
  FOREACH company_table IN ARRAY ARRAY['Suppliers', 'TaxCodes', 'DiscountFormulas',
      'Products', 'PurchaseOrders', 'GRVs', 'AccountingPeriods', 'StockMovements',
      'SupplierDocuments', 'PeriodProcedures', 'CompanyControlValues', 'AuditTrail'] LOOP
    EXECUTE format('ALTER TABLE %I ENABLE ROW LEVEL SECURITY', lower(company_table));
    EXECUTE format('CREATE POLICY company_rows ON %I USING (CompanyID IS NULL OR '
                   'CompanyID IN (SELECT unnest(kvt_my_companies())))', lower(company_table));
  END LOOP;
END
$$;
ALTER TABLE Companies ENABLE ROW LEVEL SECURITY;
CREATE POLICY company_rows ON Companies USING (ID IN (SELECT unnest(kvt_my_companies())));
ALTER TABLE PurchaseOrderDetails ENABLE ROW LEVEL SECURITY;
CREATE POLICY company_rows ON PurchaseOrderDetails
  USING (EXISTS (SELECT 1 FROM PurchaseOrders o WHERE o.ID = PurchaseOrderID));
ALTER TABLE GRVDetails ENABLE ROW LEVEL SECURITY;
CREATE POLICY company_rows ON GRVDetails
  USING (EXISTS (SELECT 1 FROM GRVs g WHERE g.ID = GRVID));
ALTER TABLE UserCompanies ENABLE ROW LEVEL SECURITY;
CREATE POLICY company_rows ON UserCompanies
  USING (UserName = session_user
         OR (kvt_has_role('admin') AND CompanyID IN (SELECT unnest(kvt_my_companies()))));

-- Users: an administrator's, through these functions, which the schema's
-- owner runs (it needs CREATEROLE). A password arrives as the server's
-- SCRAM verifier, made by the client, never as clear text.
CREATE FUNCTION kvt_require_admin() RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  IF NOT kvt_has_role('admin') THEN
    PERFORM kvt_refuse('Only an administrator may manage users and roles.');
  END IF;
END
$$;

-- Raises unless `login` is a user of this database (a superuser never is).
CREATE FUNCTION kvt_require_user(login text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM UserCompanies WHERE UserName = login)
     OR EXISTS (SELECT 1 FROM pg_roles WHERE rolname = login AND rolsuper) THEN
    RAISE EXCEPTION 'There is no user "%" of this database.', login;
  END IF;
END
$$;

CREATE FUNCTION kvt_role_names(roles text[]) RETURNS text[]
LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
  named text;
BEGIN
  FOREACH named IN ARRAY roles LOOP
    IF named NOT IN ('buyer', 'clerk', 'accountant', 'admin', 'reader') THEN
      RAISE EXCEPTION USING ERRCODE = 'invalid_parameter_value',
        MESSAGE = format('There is no role "%s" (buyer, clerk, accountant, admin, reader).',
                         named);
    END IF;
  END LOOP;
  RETURN roles;
END
$$;

CREATE FUNCTION kvt_change_roles(login text, roles text[], granting boolean) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  named text;
BEGIN
  PERFORM kvt_require_admin();
  PERFORM kvt_role_names(roles);
  PERFORM kvt_require_user(login);
  FOREACH named IN ARRAY roles LOOP
    EXECUTE format(CASE WHEN granting THEN 'GRANT %I TO %I' ELSE 'REVOKE %I FROM %I' END,
                   'kvt_' || named, login);
  END LOOP;
END
$$;

CREATE FUNCTION kvt_add_user(login text, verifier text, roles text[], companies integer[])
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  PERFORM kvt_require_admin();
  PERFORM kvt_role_names(roles);
  IF verifier NOT LIKE 'SCRAM-SHA-256$%' THEN
    RAISE EXCEPTION 'A password is set only as a SCRAM verifier.';
  END IF;
  IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = login) THEN
    RAISE EXCEPTION USING ERRCODE = 'duplicate_object',
      MESSAGE = format('There is already a user "%s" on this server.', login);
  END IF;
  EXECUTE format('CREATE ROLE %I LOGIN PASSWORD %L', login, verifier);
  INSERT INTO UserCompanies (UserName, CompanyID)
    SELECT login, c FROM unnest(companies) AS c;
  PERFORM kvt_change_roles(login, roles, TRUE);
END
$$;

CREATE FUNCTION kvt_remove_user(login text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  PERFORM kvt_require_admin();
  IF login = session_user THEN
    RAISE EXCEPTION 'An administrator cannot remove their own login.';
  END IF;
  PERFORM kvt_require_user(login);
  DELETE FROM UserCompanies WHERE UserName = login;
  EXECUTE format('DROP ROLE %I', login);
END
$$;

-- A new password for a login of this database (never a superuser's).
CREATE FUNCTION kvt_set_password(login text, verifier text) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  PERFORM kvt_require_admin();
  IF verifier NOT LIKE 'SCRAM-SHA-256$%' THEN
    RAISE EXCEPTION 'A password is set only as a SCRAM verifier.';
  END IF;
  PERFORM kvt_require_user(login);
  EXECUTE format('ALTER ROLE %I PASSWORD %L', login, verifier);
END
$$;

-- Every login of this database with the roles it holds.
CREATE FUNCTION kvt_list_users()
RETURNS TABLE ("UserName" text, "Roles" text)
LANGUAGE sql STABLE SECURITY DEFINER AS $$
  SELECT u.UserName,
         COALESCE((SELECT string_agg(substr(g.rolname, 5), ',' ORDER BY g.rolname)
                     FROM pg_roles g
                    WHERE g.rolname LIKE 'kvt\_%' AND pg_has_role(u.UserName, g.oid, 'MEMBER')),
                  '')
    FROM (SELECT DISTINCT UserName FROM UserCompanies) u
   ORDER BY 1
$$;

-- Every SECURITY DEFINER function above looks only in this schema.
DO $$
DECLARE
  definer record;
BEGIN
  FOR definer IN
    SELECT p.oid::regprocedure AS signature FROM pg_proc p
     WHERE p.pronamespace = current_schema()::regnamespace AND p.prosecdef
  LOOP
    EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', definer.signature,
                   current_schema());
  END LOOP;
END
$$;
