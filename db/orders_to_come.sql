-- The orders still open for receiving (Status 1) with lines that have goods
-- to come, and how many such lines each has. A line of a closed or cancelled
-- order may stay short for ever, so the lines alone cannot tell the open
-- tail from years of history; this can. Triggers keep it on every write to
-- an order or its lines, whoever writes them: each works the order's row out
-- again from the order and its lines (the order list's progress filters
-- read it too). Run again, this changes nothing.
CREATE TABLE IF NOT EXISTS OrdersToCome (
  PurchaseOrderID INTEGER NOT NULL PRIMARY KEY,
  SupplierID      INTEGER NOT NULL,
  CompanyID       INTEGER NOT NULL,
  Lines           INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS OrdersToCome_Supplier
  ON OrdersToCome(SupplierID, CompanyID);
CREATE VIEW IF NOT EXISTS OrdersToComeNow AS
SELECT po.ID AS PurchaseOrderID, po.SupplierID, po.CompanyID,
       (SELECT COUNT(*) FROM PurchaseOrderDetails d
         WHERE d.PurchaseOrderID = po.ID
           AND d.QtyReceived < COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0)) AS Lines
  FROM PurchaseOrders po
 WHERE po.Status = 1;
CREATE TRIGGER IF NOT EXISTS OrdersToCome_LineAdded
AFTER INSERT ON PurchaseOrderDetails
BEGIN
  DELETE FROM OrdersToCome WHERE PurchaseOrderID = NEW.PurchaseOrderID;
  INSERT INTO OrdersToCome SELECT * FROM OrdersToComeNow
   WHERE PurchaseOrderID = NEW.PurchaseOrderID AND Lines > 0;
END;
-- A receipt changes an order's count only when it completes a line, so
-- the trigger runs only then: recounting on every line drawn made a posting
-- several times slower. A line moved to another order recounts both.
DROP TRIGGER IF EXISTS OrdersToCome_LineChanged;
CREATE TRIGGER OrdersToCome_LineChanged
AFTER UPDATE OF Qty, BOQty, QtyReceived ON PurchaseOrderDetails
WHEN OLD.PurchaseOrderID IS NEW.PurchaseOrderID
 AND (OLD.QtyReceived < COALESCE(OLD.Qty, 0) + COALESCE(OLD.BOQty, 0))
     IS NOT (NEW.QtyReceived < COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0))
BEGIN
  DELETE FROM OrdersToCome WHERE PurchaseOrderID = NEW.PurchaseOrderID;
  INSERT INTO OrdersToCome SELECT * FROM OrdersToComeNow
   WHERE PurchaseOrderID = NEW.PurchaseOrderID AND Lines > 0;
END;
CREATE TRIGGER IF NOT EXISTS OrdersToCome_LineMoved
AFTER UPDATE OF PurchaseOrderID ON PurchaseOrderDetails
WHEN OLD.PurchaseOrderID IS NOT NEW.PurchaseOrderID
BEGIN
  DELETE FROM OrdersToCome
   WHERE PurchaseOrderID IN (OLD.PurchaseOrderID, NEW.PurchaseOrderID);
  INSERT INTO OrdersToCome SELECT * FROM OrdersToComeNow
   WHERE PurchaseOrderID IN (OLD.PurchaseOrderID, NEW.PurchaseOrderID) AND Lines > 0;
END;
CREATE TRIGGER IF NOT EXISTS OrdersToCome_LineRemoved
AFTER DELETE ON PurchaseOrderDetails
BEGIN
  DELETE FROM OrdersToCome WHERE PurchaseOrderID = OLD.PurchaseOrderID;
  INSERT INTO OrdersToCome SELECT * FROM OrdersToComeNow
   WHERE PurchaseOrderID = OLD.PurchaseOrderID AND Lines > 0;
END;
CREATE TRIGGER IF NOT EXISTS OrdersToCome_OrderChanged
AFTER UPDATE OF ID, Status, SupplierID, CompanyID ON PurchaseOrders
BEGIN
  DELETE FROM OrdersToCome WHERE PurchaseOrderID IN (OLD.ID, NEW.ID);
  INSERT INTO OrdersToCome SELECT * FROM OrdersToComeNow
   WHERE PurchaseOrderID = NEW.ID AND Lines > 0;
END;
CREATE TRIGGER IF NOT EXISTS OrdersToCome_OrderRemoved
AFTER DELETE ON PurchaseOrders
BEGIN
  DELETE FROM OrdersToCome WHERE PurchaseOrderID = OLD.ID;
END;
