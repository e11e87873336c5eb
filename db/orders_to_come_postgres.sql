-- The orders still open for receiving with lines that have goods to come
-- (orders_to_come.sql says why). A clerk's receipt closes an order's tail
-- as a buyer's edit opens it, so the triggers' functions run as the
-- schema's owner; each locks the order's row first, so that two writers of
-- one order's lines count them one after the other. Every login may read
-- the rows of the orders it may read. Run again, this changes nothing.
CREATE TABLE IF NOT EXISTS OrdersToCome (
  PurchaseOrderID integer NOT NULL PRIMARY KEY,
  SupplierID      integer NOT NULL,
  CompanyID       integer NOT NULL,
  Lines           integer NOT NULL
);
CREATE INDEX IF NOT EXISTS OrdersToCome_Supplier
  ON OrdersToCome(SupplierID, CompanyID);
ALTER TABLE OrdersToCome ENABLE ROW LEVEL SECURITY;
DROP POLICY IF EXISTS company_rows ON OrdersToCome;
CREATE POLICY company_rows ON OrdersToCome
  USING (EXISTS (SELECT 1 FROM PurchaseOrders o WHERE o.ID = PurchaseOrderID));
DO $$
BEGIN
  -- The server's group roles, once the access script has made them (it
  -- grants every table there is then; this is for a table added later).
  IF EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'kvt_reader') THEN
    GRANT SELECT ON OrdersToCome TO kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin,
      kvt_reader;
  END IF;
END
$$;

CREATE OR REPLACE FUNCTION kvt_order_to_come(wanted integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER SET search_path FROM CURRENT AS $$
DECLARE
  o record;
  n integer := 0;
BEGIN
  SELECT po.SupplierID, po.CompanyID, po.Status INTO o
    FROM PurchaseOrders po WHERE po.ID = wanted FOR UPDATE;
  IF FOUND AND o.Status = 1 THEN
    SELECT COUNT(*) INTO n FROM PurchaseOrderDetails d
     WHERE d.PurchaseOrderID = wanted
       AND d.QtyReceived < COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0);
  END IF;
  IF n > 0 THEN
    INSERT INTO OrdersToCome (PurchaseOrderID, SupplierID, CompanyID, Lines)
    VALUES (wanted, o.SupplierID, o.CompanyID, n)
    ON CONFLICT (PurchaseOrderID) DO UPDATE
      SET SupplierID = EXCLUDED.SupplierID, CompanyID = EXCLUDED.CompanyID,
          Lines = EXCLUDED.Lines;
  ELSE
    DELETE FROM OrdersToCome WHERE PurchaseOrderID = wanted;
  END IF;
END
$$;

CREATE OR REPLACE FUNCTION kvt_order_lines_to_come() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path FROM CURRENT AS $$
BEGIN
  IF TG_OP <> 'INSERT' THEN
    PERFORM kvt_order_to_come(OLD.PurchaseOrderID);
  END IF;
  IF TG_OP <> 'DELETE' AND (TG_OP = 'INSERT' OR NEW.PurchaseOrderID <> OLD.PurchaseOrderID) THEN
    PERFORM kvt_order_to_come(NEW.PurchaseOrderID);
  END IF;
  RETURN NULL;
END
$$;

CREATE OR REPLACE FUNCTION kvt_order_header_to_come() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path FROM CURRENT AS $$
BEGIN
  IF TG_OP = 'DELETE' OR NEW.ID <> OLD.ID THEN
    DELETE FROM OrdersToCome WHERE PurchaseOrderID = OLD.ID;
  END IF;
  IF TG_OP = 'UPDATE' THEN
    PERFORM kvt_order_to_come(NEW.ID);
  END IF;
  RETURN NULL;
END
$$;

DROP TRIGGER IF EXISTS OrdersToCome_Lines ON PurchaseOrderDetails;
CREATE TRIGGER OrdersToCome_Lines
  AFTER INSERT OR DELETE ON PurchaseOrderDetails
  FOR EACH ROW EXECUTE FUNCTION kvt_order_lines_to_come();
-- A receipt changes an order's count only when it completes a line (or a
-- line moves to another order): recounting, and locking the order, on every
-- line drawn made a posting several times slower.
DROP TRIGGER IF EXISTS OrdersToCome_LineChanged ON PurchaseOrderDetails;
CREATE TRIGGER OrdersToCome_LineChanged
  AFTER UPDATE OF PurchaseOrderID, Qty, BOQty, QtyReceived ON PurchaseOrderDetails
  FOR EACH ROW
  WHEN (OLD.PurchaseOrderID IS DISTINCT FROM NEW.PurchaseOrderID
        OR (OLD.QtyReceived < COALESCE(OLD.Qty, 0) + COALESCE(OLD.BOQty, 0))
           IS DISTINCT FROM (NEW.QtyReceived < COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0)))
  EXECUTE FUNCTION kvt_order_lines_to_come();
DROP TRIGGER IF EXISTS OrdersToCome_Order ON PurchaseOrders;
CREATE TRIGGER OrdersToCome_Order
  AFTER DELETE OR UPDATE OF ID, Status, SupplierID, CompanyID ON PurchaseOrders
  FOR EACH ROW EXECUTE FUNCTION kvt_order_header_to_come();
