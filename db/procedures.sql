-- Bodies of the procedures the component and the host call through the
-- data gateway. Result column names are the names the callers read,
-- blanks and capitals included.

-- Lookup lists of the item dialogs: ?1 = list kind (1 trade, 2 rebate,
-- 3 other discount formulas; 4 tax codes), ?2 = company. Column 0 is the
-- row ID, 1 the text shown, 2 the formula text or the tax rate. Column 2
-- is computed in both branches so that its type follows the rows returned.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Order_Lups', 2, '
SELECT ID, Description, Formula FROM (
  SELECT f.ID AS ID, f.Description AS Description,
         CAST(f.Formula AS TEXT) AS Formula
    FROM DiscountFormulas f
   WHERE ?1 BETWEEN 1 AND 3
     AND (f.CompanyID IS NULL OR f.CompanyID = ?2)
     AND f.FormulaType IN (0, ?1)
  UNION ALL
  SELECT t.ID, t.Code, CAST(t.Rate AS REAL)
    FROM TaxCodes t
   WHERE ?1 = 4 AND (t.CompanyID IS NULL OR t.CompanyID = ?2)
) ORDER BY ID');

-- Print data of a purchase order: one row per line, header repeated.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Purchase_Order_Data', 1, '
SELECT s.Name AS "Supp Name", s.PostBox AS "Supp PostBox",
       s.PostOffice AS "Supp PostOffice", s.PostCode AS "Supp PostCode",
       s.TelNo AS "Supp TelNo", s.FaxNo AS "Supp FaxNo", s.TaxNo AS "Supp TaxNo",
       c.Name AS "Co Name", c.RegNo AS "Co RegNo",
       c.Address1 AS "Co Address1", c.Address2 AS "Co Address2",
       c.PostCode AS "Co PostCode", c.TelNo AS "Co TelNo",
       c.FaxNo AS "Co FaxNo", c.TaxNo AS "Co TaxNo",
       po.DateOrdered AS "Date Ordered", po.OrderNumber AS "Order Number",
       s.Rep AS "Rep",
       po.DelName AS "Del Name", po.DelAddr1 AS "Del Addr1",
       po.DelAddr2 AS "Del Addr2", po.DelAddr3 AS "Del Addr3",
       po.DelPostCode AS "Del PostCode",
       po.SuppRef AS "Supp Ref", po.OurRef AS "Our Ref",
       p.Code AS "Product Code", p.Description AS "Product Desc",
       d.Qty AS "QTY", d.UnitPrice AS "Unit Price",
       d.TradeDisc AS "Trade Disc", d.RebateDisc AS "Rebate Disc",
       d.OtherDisc AS "Other Disc", d.NetAmount AS "Net Amount",
       d.Tax AS "Tax Amount", d.TotalCost AS "Total Cost",
       COALESCE(po.Message, c.DefaultMessage) AS "DefaultMessage",
       po.ID AS "OrderID"
  FROM PurchaseOrders po
  JOIN Suppliers s ON s.ID = po.SupplierID
  JOIN Companies c ON c.ID = po.CompanyID
  JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID
  LEFT JOIN Products p ON p.ID = d.ProductID
 WHERE po.ID = ?1
 ORDER BY d.ID');

-- A supplier''s processed orders in a company that still have stock to come;
-- "OrderNo" and "Supplier Ref" are what the voucher header shows of one.
-- OrdersToCome holds just those orders, with how many lines each has to
-- come (orders_to_come.sql), however long the supplier's history.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_GRV_Select_Outstanding_Orders', 2, '
SELECT po.ID AS "ID", po.OrderNumber AS "Order Number",
       po.DateOrdered AS "Date Ordered", po.OurRef AS "Our Ref",
       po.SuppRef AS "Supp Ref", po.OrderNumber AS "OrderNo",
       po.SuppRef AS "Supplier Ref", t.Lines AS "Outstanding Lines"
  FROM OrdersToCome t
  JOIN PurchaseOrders po ON po.ID = t.PurchaseOrderID
 WHERE t.SupplierID = ?1 AND t.CompanyID = ?2 AND po.Status = 1
 ORDER BY po.DateOrdered, po.ID');

-- The outstanding lines of one order: the source rows of received lines.
-- The amounts are those of the outstanding quantity, the quantity a
-- receipt proposes, so that a received line carries the order line's
-- discount rates however much was received before. An order closed or
-- cancelled (Status 2, 3) has none.
INSERT INTO kvt_procedures (name, parameter_count, column_types, body) VALUES
('sp_AO_GRV_Select_Outstanding_Order_Details', 1,
 'Trade Disc:currency,Rebate Disc:currency,Other Disc:currency,Net Amount:currency,Tax:currency,Total Cost:currency', '
SELECT d.ID AS "ID", d.ProductID AS "Products ID",
       p.Description AS "Product", p.Code AS "Code",
       d.Qty AS "Qty", d.BOQty AS "B/O Qty", d.QtyReceived AS "Received Qty",
       d.FreeQty AS "Free Qty",
       d.UnitPrice AS "Unit Price", d.TradeDisc * o.Part AS "Trade Disc",
       d.RebateDisc * o.Part AS "Rebate Disc", d.OtherDisc * o.Part AS "Other Disc",
       d.NetAmount * o.Part AS "Net Amount", d.TaxCodesID AS "Tax_Codes_ID",
       t.Code AS "Tax Code", d.Tax * o.Part AS "Tax", d.TotalCost * o.Part AS "Total Cost"
  FROM PurchaseOrderDetails d
  JOIN (SELECT ID, (COALESCE(Qty, 0) + COALESCE(BOQty, 0) - COALESCE(QtyReceived, 0)) * 1.0
                   / (COALESCE(Qty, 0) + COALESCE(BOQty, 0)) AS Part
          FROM PurchaseOrderDetails
         WHERE PurchaseOrderID = ?1
           AND COALESCE(Qty, 0) + COALESCE(BOQty, 0) > COALESCE(QtyReceived, 0)) o
    ON o.ID = d.ID
  LEFT JOIN Products p ON p.ID = d.ProductID
  LEFT JOIN TaxCodes t ON t.ID = d.TaxCodesID
 WHERE EXISTS (SELECT 1 FROM PurchaseOrders po
                WHERE po.ID = d.PurchaseOrderID AND po.Status = 1)
 ORDER BY d.ID');

-- A supplier''s newest 200 goods received vouchers in a company, oldest
-- first: what is returned is what came lately.
INSERT INTO kvt_procedures (name, parameter_count, column_types, body) VALUES
('sp_AO_Select_Received_GRV', 2, 'Total:currency', '
SELECT * FROM (
SELECT g.ID AS "ID", g.VoucherNumber AS "GRV Number",
       g.DateReceived AS "Date Received", g.DelNoteNumber AS "Del Note Number",
       g.DelNoteNumber AS "Del Note No",
       po.OrderNumber AS "Order Number",
       (SELECT TOTAL(gd.TotalCost) FROM GRVDetails gd WHERE gd.GRVID = g.ID)
         AS "Total"
  FROM GRVs g
  LEFT JOIN PurchaseOrders po ON po.ID = g.PurchaseOrderID
 WHERE g.SupplierID = ?1 AND g.CompanyID = ?2 AND g.TranTypeID = 19
 ORDER BY g.DateReceived DESC, g.ID DESC LIMIT 200)
 ORDER BY "Date Received", "ID"');

-- A supplier''s newest 200 consignment received vouchers in a company,
-- oldest first.
INSERT INTO kvt_procedures (name, parameter_count, column_types, body) VALUES
('sp_AO_Select_Received_CRV', 2, 'Total:currency', '
SELECT * FROM (
SELECT g.ID AS "ID", g.VoucherNumber AS "CRV Number",
       g.DateReceived AS "Date Received", g.DelNoteNumber AS "Del Note Number",
       g.DelNoteNumber AS "Del Note No",
       po.OrderNumber AS "Order Number",
       (SELECT TOTAL(gd.TotalCost) FROM GRVDetails gd WHERE gd.GRVID = g.ID)
         AS "Total"
  FROM GRVs g
  LEFT JOIN PurchaseOrders po ON po.ID = g.PurchaseOrderID
 WHERE g.SupplierID = ?1 AND g.CompanyID = ?2 AND g.TranTypeID = 31
 ORDER BY g.DateReceived DESC, g.ID DESC LIMIT 200)
 ORDER BY "Date Received", "ID"');

-- The lines of one goods received voucher: the source rows of returns.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_ReceivedGRV_Details', 1, '
SELECT gd.ID AS "ID", gd.TaxCodesID AS "Tax_Codes_ID",
       gd.ProductID AS "Products ID", p.Description AS "Product",
       p.Code AS "Code", gd.Qty AS "Qty", gd.QtyReturned AS "Qty Returned",
       gd.UnitPrice AS "Unit Price", gd.TradeDisc AS "Trade Disc",
       gd.RebateDisc AS "Rebate Disc", gd.OtherDisc AS "Other Disc",
       gd.NetAmount AS "Net", gd.TaxAmount AS "Tax",
       gd.TotalCost AS "Total Cost"
  FROM GRVDetails gd
  JOIN GRVs g ON g.ID = gd.GRVID AND g.TranTypeID = 19
  LEFT JOIN Products p ON p.ID = gd.ProductID
 WHERE gd.GRVID = ?1
 ORDER BY gd.ID');

-- The lines of one consignment received voucher, with the consignment
-- quantities: the source rows of consignment returns. A return proposes
-- what is left, so the amounts are those of the quantity left. Its fill
-- takes every percentage of the undiscounted sub total while the dialog
-- takes rebate and other of what the earlier discounts leave; so rebate
-- and other come as their own rates of the undiscounted sub total, which
-- lands each at its rate on the returned line.
INSERT INTO kvt_procedures (name, parameter_count, column_types, body) VALUES
('sp_AO_Select_ReceivedCRV_Details', 1,
 'Trade Disc:currency,Rebate Disc:currency,Other Disc:currency,Net:currency,Tax:currency,Total Cost:currency', '
SELECT gd.ID AS "ID", gd.TaxCodesID AS "Tax_Codes_ID",
       gd.ProductID AS "Products ID", p.Description AS "Product",
       p.Code AS "Code", gd.Qty AS "Qty", gd.QtyLeft AS "Qty Left",
       gd.QtyReturned AS "Qty Returned", gd.QtySold AS "Qty Sold",
       gd.UnitPrice AS "Unit Price", gd.TradeDisc * l.Part AS "Trade Disc",
       COALESCE(gd.RebateDisc * l.SubTotal * l.Part
                / NULLIF(l.SubTotal - gd.TradeDisc, 0), 0) AS "Rebate Disc",
       COALESCE(gd.OtherDisc * l.SubTotal * l.Part
                / NULLIF(l.SubTotal - gd.TradeDisc - gd.RebateDisc, 0), 0) AS "Other Disc",
       gd.NetAmount * l.Part AS "Net", gd.TaxAmount * l.Part AS "Tax",
       gd.TotalCost * l.Part AS "Total Cost"
  FROM GRVDetails gd
  JOIN GRVs g ON g.ID = gd.GRVID AND g.TranTypeID = 31
  JOIN (SELECT ID, COALESCE(QtyLeft, 0) * 1.0 / NULLIF(Qty, 0) AS Part,
               COALESCE(UnitPrice * Qty, 0) AS SubTotal
          FROM GRVDetails WHERE GRVID = ?1) l ON l.ID = gd.ID
  LEFT JOIN Products p ON p.ID = gd.ProductID
 WHERE gd.GRVID = ?1
 ORDER BY gd.ID');

-- Print data of a voucher of any kind: one row per line, header repeated.
-- A return posted without an order of its own shows the order of the
-- voucher it returns.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_GRV_Report_Data', 1, '
SELECT g.TranTypeID AS "TranTypeID",
       s.Name AS "Supp Name", s.PostBox AS "Supp PostBox",
       s.PostOffice AS "Supp PostOffice", s.PostCode AS "Supp PostCode",
       s.TelNo AS "Supp TelNo", s.FaxNo AS "Supp FaxNo", s.TaxNo AS "Supp TaxNo",
       c.Name AS "Co Name", c.RegNo AS "Co RegNo",
       c.Address1 AS "Co Address1", c.Address2 AS "Co Address2",
       c.PostCode AS "Co PostCode", c.TelNo AS "Co TelNo",
       c.FaxNo AS "Co FaxNo", c.TaxNo AS "Co TaxNo",
       g.DateReceived AS "Date Received", g.VoucherNumber AS "GRVID",
       u.Username AS "Username", g.DelNoteNumber AS "Del Note Number",
       COALESCE(po.OrderNumber, spo.OrderNumber) AS "Order Number",
       g.OurRef AS "Our Ref",
       g.SuppRef AS "Supp Ref",
       p.Code AS "Product Code", p.Description AS "Product Desc",
       gd.Qty AS "QTY", gd.UnitPrice AS "Unit Price",
       gd.TradeDisc AS "Trade Disc", gd.RebateDisc AS "Rebate Disc",
       gd.OtherDisc AS "Other Disc", gd.TaxAmount AS "Tax Amount",
       gd.NetAmount AS "SubTotal", gd.TotalCost AS "Total Cost",
       g.Notes AS "Notes"
  FROM GRVs g
  JOIN Suppliers s ON s.ID = g.SupplierID
  JOIN Companies c ON c.ID = g.CompanyID
  JOIN GRVDetails gd ON gd.GRVID = g.ID
  LEFT JOIN Products p ON p.ID = gd.ProductID
  LEFT JOIN PurchaseOrders po ON po.ID = g.PurchaseOrderID
  LEFT JOIN GRVs sg ON sg.ID = g.SourceGRVID
  LEFT JOIN PurchaseOrders spo ON spo.ID = sg.PurchaseOrderID
  LEFT JOIN Users u ON u.ID = g.UserID
 WHERE g.ID = ?1
 ORDER BY gd.ID');

-- Current accounting period of a company: month, period name, period
-- status, year key, calendar year, period ID.
INSERT INTO kvt_procedures (name, parameter_count, output_names, body) VALUES
('sp_AB_Current_Accounting_Period', 1,
 'CurrentMonth,PeriodName,PeriodStatus,CurrentYearID,CurrentYear,PeriodID', '
SELECT ap.MonthID, ap.PeriodName, ap.Status, ap.YearID, y.Years, ap.ID
  FROM AccountingPeriods ap
  JOIN Years y ON y.ID = ap.YearID
 WHERE ap.CompanyID = ?1 AND ap.IsCurrent = 1
 LIMIT 1');

-- The year key of a calendar year.
INSERT INTO kvt_procedures (name, parameter_count, output_names, body) VALUES
('sp_AW_Select_YearID_From_Year', 1, 'YearID', '
SELECT ID FROM Years WHERE Years = ?1');

-- The latest period in which the period procedure ?1 (6: suppliers) ran
-- for company ?2: its month and year key.
INSERT INTO kvt_procedures (name, parameter_count, output_names, body) VALUES
('sp_AW_Get_Last_Period_Procedure_Period', 2, 'MonthID,YearID', '
SELECT pp.MonthID, pp.YearID
  FROM PeriodProcedures pp
  JOIN Years y ON y.ID = pp.YearID
 WHERE pp.ProcedureType = ?1 AND pp.CompanyID = ?2
 ORDER BY y.Years DESC, pp.MonthID DESC
 LIMIT 1');

-- Lists and rows the host screens read.

INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AW_Select_Months', 0, '
SELECT ID AS "ID", Months AS "Months" FROM Months ORDER BY ID');

INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AW_Select_Years', 0, '
SELECT ID AS "ID", Years AS "Years" FROM Years ORDER BY Years');

INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Suppliers', 1, '
SELECT ID AS "ID", Code AS "Code", Name AS "Supplier"
  FROM Suppliers WHERE CompanyID = ?1 ORDER BY Name');

INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Products', 1, '
SELECT ID AS "ID", Code AS "Code", Description AS "Product"
  FROM Products WHERE CompanyID = ?1 ORDER BY Code');

-- A product row as the order item fill reads it.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Product_Details', 1, '
SELECT ID AS "ID", Code AS "Code", Description AS "Product",
       Price1 AS "Price 1", Price2 AS "Price 2", LeadTime AS "Lead Time",
       ServiceLevel AS "Service Level", LastSale AS "Last Sale",
       StockOnHand AS "Stock On Hand", StockReserved AS "Stock Reserved",
       QtyOnOrder AS "Qty on order", OrdersPending AS "Orders Pending",
       ShoppingListQty AS "Shopping List Qty", LastCost AS "Last_Cost",
       TradeDiscountFormulaID AS "Trade_Discount_Formula_ID",
       RebateDiscountFormulaID AS "Rebate_Discount_Formula_ID",
       TaxCodesID AS "Tax_Codes_ID"
  FROM Products WHERE ID = ?1');

-- The detail rows of a saved order, in the order-detail row layout.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_Order_Details', 1, '
SELECT d.ID AS "ID", d.PurchaseOrderID AS "OrderID",
       d.ProductID AS "Products ID", p.Description AS "Product",
       d.LeadTime AS "Lead Time", d.Qty AS "Qty", d.BOQty AS "B/O Qty",
       d.FreeQty AS "Free Qty", d.UnitPrice AS "Unit Price",
       d.TradeDiscountFormulaID AS "Trade_Discount_Formula_ID",
       d.TradeDisc AS "Trade Disc", d.RebateFormulaID AS "Rebate_Formula_ID",
       d.RebateDisc AS "Rebate Disc",
       d.OtherDiscountFormulaID AS "Other_Discount_Formula_ID",
       d.OtherDisc AS "Other Disc", d.NetAmount AS "Net Amount",
       d.TaxCodesID AS "Tax_Codes_ID", d.Tax AS "Tax",
       d.TotalCost AS "Total Cost"
  FROM PurchaseOrderDetails d
  LEFT JOIN Products p ON p.ID = d.ProductID
 WHERE d.PurchaseOrderID = ?1
 ORDER BY d.ID');

-- The detail rows of a saved voucher, in the voucher-detail row layout.
INSERT INTO kvt_procedures (name, parameter_count, body) VALUES
('sp_AO_Select_GRV_Details', 1, '
SELECT gd.ID AS "ID", gd.SourceLineID AS "FK ID",
       gd.ProductID AS "ProductsID", p.Description AS "Product",
       p.Code AS "Code", gd.Qty AS "Qty", gd.UnitPrice AS "Unit Price",
       gd.TradeDisc AS "Trade Disc", gd.RebateDisc AS "Rebate Disc",
       gd.OtherDisc AS "Other Disc", gd.NetAmount AS "Net Amount",
       gd.TaxCodesID AS "Tax_Codes_ID", t.Code AS "Tax Code",
       gd.TaxAmount AS "Tax Amount", gd.TotalCost AS "Total Cost",
       gd.QtyReturned AS "Qty Returned", gd.QtySold AS "Qty Sold",
       gd.QtyLeft AS "Qty Left"
  FROM GRVDetails gd
  LEFT JOIN Products p ON p.ID = gd.ProductID
  LEFT JOIN TaxCodes t ON t.ID = gd.TaxCodesID
 WHERE gd.GRVID = ?1
 ORDER BY gd.ID');

-- ---- Books: what the database itself refuses ------------------------------
-- An order line the books cannot hold. The host refuses it first, naming
-- the line and its figures; these stop a host that skips the desk. The
-- smallest quantity is 0.000001, and two quantities within half of it are
-- the same (posting::kQtyUnit). Inf is 9e999 here; NaN arrives as Null.
-- A new line is put through the same checks: its insert rewrites the line,
-- which fires the update trigger (one trigger never fires itself).
CREATE TRIGGER PurchaseOrderDetails_Bookable_Insert
AFTER INSERT ON PurchaseOrderDetails
BEGIN
  UPDATE PurchaseOrderDetails SET Qty = NEW.Qty WHERE ID = NEW.ID;
END;
CREATE TRIGGER PurchaseOrderDetails_Bookable_Update
BEFORE UPDATE ON PurchaseOrderDetails
BEGIN
  SELECT RAISE(ABORT, 'An order line needs a quantity of at least 0.000001.')
   WHERE NEW.Qty IS NOT NULL AND (typeof(NEW.Qty) NOT IN ('integer', 'real')
         OR NEW.Qty < 0.0000005 OR NEW.Qty = 9e999);
  SELECT RAISE(ABORT, 'An order line''s back order must be a quantity of 0 or more.')
   WHERE NEW.BOQty IS NOT NULL AND (typeof(NEW.BOQty) NOT IN ('integer', 'real')
         OR NEW.BOQty < 0 OR NEW.BOQty = 9e999);
  SELECT RAISE(ABORT, 'An order line''s unit price must be an amount from 0 to 922337203685477.')
   WHERE NEW.UnitPrice IS NOT NULL AND (typeof(NEW.UnitPrice) NOT IN ('integer', 'real')
         OR NEW.UnitPrice < 0 OR NEW.UnitPrice > 922337203685477);
  SELECT RAISE(ABORT, 'An order line cannot be ordered below what was received on it.')
   WHERE NEW.QtyReceived > COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0) + 0.0000005;
END;
