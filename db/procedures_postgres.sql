-- The procedures as functions of the PostgreSQL server, with the names and
-- result columns of their SQLite bodies (procedures.sql), blanks and
-- capitals included. A function that RETURNS TABLE gives a record set; one
-- with OUT parameters fills the outputs of RunProcedure in their order.

-- Lookup lists of the item dialogs: p_kind 1 trade, 2 rebate, 3 other
-- discount formulas; 4 tax codes. A column has one type here, so the tax
-- rate comes as its decimal text ("15"), which the dialog reads as a number.
CREATE FUNCTION sp_AO_Select_Order_Lups(p_kind integer, p_company integer)
RETURNS TABLE ("ID" integer, "Description" text, "Formula" text)
LANGUAGE sql STABLE AS $$
  SELECT f.ID, f.Description, f.Formula
    FROM DiscountFormulas f
   WHERE p_kind BETWEEN 1 AND 3
     AND (f.CompanyID IS NULL OR f.CompanyID = p_company)
     AND f.FormulaType IN (0, p_kind)
  UNION ALL
  SELECT t.ID, t.Code, t.Rate::text
    FROM TaxCodes t
   WHERE p_kind = 4 AND (t.CompanyID IS NULL OR t.CompanyID = p_company)
  ORDER BY 1
$$;

-- Print data of a purchase order: one row per line, header repeated.
CREATE FUNCTION sp_AO_Select_Purchase_Order_Data(p_order integer)
RETURNS TABLE (
  "Supp Name" text, "Supp PostBox" text, "Supp PostOffice" text,
  "Supp PostCode" text, "Supp TelNo" text, "Supp FaxNo" text,
  "Supp TaxNo" text, "Co Name" text, "Co RegNo" text, "Co Address1" text,
  "Co Address2" text, "Co PostCode" text, "Co TelNo" text, "Co FaxNo" text,
  "Co TaxNo" text, "Date Ordered" date, "Order Number" text, "Rep" text,
  "Del Name" text, "Del Addr1" text, "Del Addr2" text, "Del Addr3" text,
  "Del PostCode" text, "Supp Ref" text, "Our Ref" text,
  "Product Code" text, "Product Desc" text, "QTY" double precision,
  "Unit Price" currency, "Trade Disc" currency, "Rebate Disc" currency,
  "Other Disc" currency, "Net Amount" currency, "Tax Amount" currency,
  "Total Cost" currency, "DefaultMessage" text, "OrderID" integer)
LANGUAGE sql STABLE AS $$
  SELECT s.Name, s.PostBox, s.PostOffice, s.PostCode, s.TelNo, s.FaxNo,
         s.TaxNo, c.Name, c.RegNo, c.Address1, c.Address2, c.PostCode,
         c.TelNo, c.FaxNo, c.TaxNo, po.DateOrdered, po.OrderNumber, s.Rep,
         po.DelName, po.DelAddr1, po.DelAddr2, po.DelAddr3, po.DelPostCode,
         po.SuppRef, po.OurRef, p.Code, p.Description, d.Qty, d.UnitPrice,
         d.TradeDisc, d.RebateDisc, d.OtherDisc, d.NetAmount, d.Tax,
         d.TotalCost, COALESCE(po.Message, c.DefaultMessage), po.ID
    FROM PurchaseOrders po
    JOIN Suppliers s ON s.ID = po.SupplierID
    JOIN Companies c ON c.ID = po.CompanyID
    JOIN PurchaseOrderDetails d ON d.PurchaseOrderID = po.ID
    LEFT JOIN Products p ON p.ID = d.ProductID
   WHERE po.ID = p_order
   ORDER BY d.ID
$$;

-- A supplier's processed orders in a company that still have stock to come
-- (OrdersToCome holds just those); "OrderNo" and "Supplier Ref" are what
-- the voucher header shows of one.
CREATE OR REPLACE FUNCTION sp_AO_GRV_Select_Outstanding_Orders(p_supplier integer,
                                                               p_company integer)
RETURNS TABLE ("ID" integer, "Order Number" text, "Date Ordered" date,
               "Our Ref" text, "Supp Ref" text, "OrderNo" text,
               "Supplier Ref" text, "Outstanding Lines" bigint)
LANGUAGE sql STABLE AS $$
  SELECT po.ID, po.OrderNumber, po.DateOrdered, po.OurRef, po.SuppRef,
         po.OrderNumber, po.SuppRef, t.Lines::bigint
    FROM OrdersToCome t
    JOIN PurchaseOrders po ON po.ID = t.PurchaseOrderID
   WHERE t.SupplierID = p_supplier AND t.CompanyID = p_company AND po.Status = 1
   ORDER BY po.DateOrdered, po.ID
$$;

-- The outstanding lines of one order: the source rows of received lines,
-- with the amounts of the outstanding quantity (see procedures.sql).
-- An order closed or cancelled (Status 2, 3) has none.
CREATE FUNCTION sp_AO_GRV_Select_Outstanding_Order_Details(p_order integer)
RETURNS TABLE (
  "ID" integer, "Products ID" integer, "Product" text, "Code" text,
  "Qty" double precision, "B/O Qty" double precision,
  "Received Qty" double precision, "Free Qty" double precision,
  "Unit Price" currency, "Trade Disc" currency, "Rebate Disc" currency,
  "Other Disc" currency, "Net Amount" currency, "Tax_Codes_ID" integer,
  "Tax Code" text, "Tax" currency, "Total Cost" currency)
LANGUAGE sql STABLE AS $$
  SELECT d.ID, d.ProductID, p.Description, p.Code, d.Qty, d.BOQty,
         d.QtyReceived, d.FreeQty, d.UnitPrice,
         (d.TradeDisc * o.part)::currency, (d.RebateDisc * o.part)::currency,
         (d.OtherDisc * o.part)::currency, (d.NetAmount * o.part)::currency,
         d.TaxCodesID, t.Code, (d.Tax * o.part)::currency,
         (d.TotalCost * o.part)::currency
    FROM PurchaseOrderDetails d
    CROSS JOIN LATERAL (SELECT ((COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0)
                                 - COALESCE(d.QtyReceived, 0))
                                / (COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0)))::numeric
                               AS part) o
    LEFT JOIN Products p ON p.ID = d.ProductID
    LEFT JOIN TaxCodes t ON t.ID = d.TaxCodesID
   WHERE d.PurchaseOrderID = p_order
     AND COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) > COALESCE(d.QtyReceived, 0)
     AND EXISTS (SELECT 1 FROM PurchaseOrders po
                  WHERE po.ID = d.PurchaseOrderID AND po.Status = 1)
   ORDER BY d.ID
$$;

-- A supplier's newest 200 received vouchers of one kind in a company (19
-- goods received, 31 consignment received), oldest first, with their totals.
CREATE OR REPLACE FUNCTION kvt_received_vouchers(p_supplier integer, p_company integer,
                                                 p_kind integer)
RETURNS TABLE ("ID" integer, "Number" text, "Date Received" date,
               "Del Note Number" text, "Del Note No" text,
               "Order Number" text, "Total" currency)
LANGUAGE sql STABLE AS $$
  SELECT * FROM (
    SELECT g.ID, g.VoucherNumber, g.DateReceived, g.DelNoteNumber,
           g.DelNoteNumber, po.OrderNumber,
           (SELECT COALESCE(SUM(gd.TotalCost), 0) FROM GRVDetails gd
             WHERE gd.GRVID = g.ID)
      FROM GRVs g
      LEFT JOIN PurchaseOrders po ON po.ID = g.PurchaseOrderID
     WHERE g.SupplierID = p_supplier AND g.CompanyID = p_company
       AND g.TranTypeID = p_kind
     ORDER BY g.DateReceived DESC, g.ID DESC LIMIT 200) newest
   ORDER BY 3, 1
$$;

CREATE FUNCTION sp_AO_Select_Received_GRV(p_supplier integer,
                                          p_company integer)
RETURNS TABLE ("ID" integer, "GRV Number" text, "Date Received" date,
               "Del Note Number" text, "Del Note No" text,
               "Order Number" text, "Total" currency)
LANGUAGE sql STABLE AS $$
  SELECT * FROM kvt_received_vouchers(p_supplier, p_company, 19)
$$;

CREATE FUNCTION sp_AO_Select_Received_CRV(p_supplier integer,
                                          p_company integer)
RETURNS TABLE ("ID" integer, "CRV Number" text, "Date Received" date,
               "Del Note Number" text, "Del Note No" text,
               "Order Number" text, "Total" currency)
LANGUAGE sql STABLE AS $$
  SELECT * FROM kvt_received_vouchers(p_supplier, p_company, 31)
$$;

-- The lines of one received voucher of kind p_kind (19 goods received, 31
-- consignment received), with the consignment quantities.
CREATE TYPE kvt_received_line AS (
  "ID" integer, "Tax_Codes_ID" integer, "Products ID" integer,
  "Product" text, "Code" text, "Qty" double precision,
  "Qty Left" double precision, "Qty Returned" double precision,
  "Qty Sold" double precision, "Unit Price" currency, "Trade Disc" currency,
  "Rebate Disc" currency, "Other Disc" currency, "Net" currency,
  "Tax" currency, "Total Cost" currency);

CREATE FUNCTION kvt_received_voucher_lines(p_voucher integer, p_kind integer)
RETURNS SETOF kvt_received_line
LANGUAGE sql STABLE AS $$
  SELECT gd.ID, gd.TaxCodesID, gd.ProductID, p.Description, p.Code, gd.Qty,
         gd.QtyLeft, gd.QtyReturned, gd.QtySold, gd.UnitPrice, gd.TradeDisc,
         gd.RebateDisc, gd.OtherDisc, gd.NetAmount, gd.TaxAmount,
         gd.TotalCost
    FROM GRVDetails gd
    JOIN GRVs g ON g.ID = gd.GRVID AND g.TranTypeID = p_kind
    LEFT JOIN Products p ON p.ID = gd.ProductID
   WHERE gd.GRVID = p_voucher
   ORDER BY gd.ID
$$;

-- The lines of one goods received voucher: the source rows of returns.
CREATE FUNCTION sp_AO_Select_ReceivedGRV_Details(p_voucher integer)
RETURNS TABLE (
  "ID" integer, "Tax_Codes_ID" integer, "Products ID" integer,
  "Product" text, "Code" text, "Qty" double precision,
  "Qty Returned" double precision, "Unit Price" currency,
  "Trade Disc" currency, "Rebate Disc" currency, "Other Disc" currency,
  "Net" currency, "Tax" currency, "Total Cost" currency)
LANGUAGE sql STABLE AS $$
  SELECT "ID", "Tax_Codes_ID", "Products ID", "Product", "Code", "Qty",
         "Qty Returned", "Unit Price", "Trade Disc", "Rebate Disc",
         "Other Disc", "Net", "Tax", "Total Cost"
    FROM kvt_received_voucher_lines(p_voucher, 19)
$$;

-- The lines of one consignment received voucher, with the consignment
-- quantities: the source rows of consignment returns, with the amounts of
-- the quantity left, rebate and other as rates of the undiscounted sub
-- total (see procedures.sql).
CREATE FUNCTION sp_AO_Select_ReceivedCRV_Details(p_voucher integer)
RETURNS SETOF kvt_received_line
LANGUAGE sql STABLE AS $$
  SELECT r."ID", r."Tax_Codes_ID", r."Products ID", r."Product", r."Code",
         r."Qty", r."Qty Left", r."Qty Returned", r."Qty Sold", r."Unit Price",
         (r."Trade Disc" * l.part)::currency,
         COALESCE(r."Rebate Disc" * l.sub_total * l.part
                  / NULLIF(l.sub_total - r."Trade Disc", 0), 0)::currency,
         COALESCE(r."Other Disc" * l.sub_total * l.part
                  / NULLIF(l.sub_total - r."Trade Disc" - r."Rebate Disc", 0),
                  0)::currency,
         (r."Net" * l.part)::currency, (r."Tax" * l.part)::currency,
         (r."Total Cost" * l.part)::currency
    FROM kvt_received_voucher_lines(p_voucher, 31) r
    CROSS JOIN LATERAL (
      SELECT (COALESCE(r."Qty Left", 0) / NULLIF(r."Qty", 0))::numeric AS part,
             COALESCE(r."Unit Price" * r."Qty"::numeric, 0) AS sub_total) l
   ORDER BY r."ID"
$$;

-- Print data of a voucher of any kind: one row per line, header repeated.
-- A return posted without an order of its own shows the order of the
-- voucher it returns.
CREATE FUNCTION sp_AO_Select_GRV_Report_Data(p_voucher integer)
RETURNS TABLE (
  "TranTypeID" integer, "Supp Name" text, "Supp PostBox" text,
  "Supp PostOffice" text, "Supp PostCode" text, "Supp TelNo" text,
  "Supp FaxNo" text, "Supp TaxNo" text, "Co Name" text, "Co RegNo" text,
  "Co Address1" text, "Co Address2" text, "Co PostCode" text,
  "Co TelNo" text, "Co FaxNo" text, "Co TaxNo" text, "Date Received" date,
  "GRVID" text, "Username" text, "Del Note Number" text,
  "Order Number" text, "Our Ref" text, "Supp Ref" text,
  "Product Code" text, "Product Desc" text, "QTY" double precision,
  "Unit Price" currency, "Trade Disc" currency, "Rebate Disc" currency,
  "Other Disc" currency, "Tax Amount" currency, "SubTotal" currency,
  "Total Cost" currency, "Notes" text)
LANGUAGE sql STABLE AS $$
  SELECT g.TranTypeID, s.Name, s.PostBox, s.PostOffice, s.PostCode, s.TelNo,
         s.FaxNo, s.TaxNo, c.Name, c.RegNo, c.Address1, c.Address2,
         c.PostCode, c.TelNo, c.FaxNo, c.TaxNo, g.DateReceived,
         g.VoucherNumber, u.Username, g.DelNoteNumber,
         COALESCE(po.OrderNumber, spo.OrderNumber),
         g.OurRef, g.SuppRef, p.Code, p.Description, gd.Qty, gd.UnitPrice,
         gd.TradeDisc, gd.RebateDisc, gd.OtherDisc, gd.TaxAmount,
         gd.NetAmount, gd.TotalCost, g.Notes
    FROM GRVs g
    JOIN Suppliers s ON s.ID = g.SupplierID
    JOIN Companies c ON c.ID = g.CompanyID
    JOIN GRVDetails gd ON gd.GRVID = g.ID
    LEFT JOIN Products p ON p.ID = gd.ProductID
    LEFT JOIN PurchaseOrders po ON po.ID = g.PurchaseOrderID
    LEFT JOIN GRVs sg ON sg.ID = g.SourceGRVID
    LEFT JOIN PurchaseOrders spo ON spo.ID = sg.PurchaseOrderID
    LEFT JOIN Users u ON u.ID = g.UserID
   WHERE g.ID = p_voucher
   ORDER BY gd.ID
$$;

-- Current accounting period of a company: month, period name, period
-- status, year key, calendar year, period ID (all Null when none is
-- current).
CREATE FUNCTION sp_AB_Current_Accounting_Period(
  p_company integer, OUT "CurrentMonth" integer, OUT "PeriodName" text,
  OUT "PeriodStatus" text, OUT "CurrentYearID" integer,
  OUT "CurrentYear" integer, OUT "PeriodID" integer)
LANGUAGE sql STABLE AS $$
  SELECT ap.MonthID, ap.PeriodName, ap.Status, ap.YearID, y.Years, ap.ID
    FROM AccountingPeriods ap
    JOIN Years y ON y.ID = ap.YearID
   WHERE ap.CompanyID = p_company AND ap.IsCurrent
   LIMIT 1
$$;

-- The year key of a calendar year.
CREATE FUNCTION sp_AW_Select_YearID_From_Year(p_year integer,
                                              OUT "YearID" integer)
LANGUAGE sql STABLE AS $$
  SELECT ID FROM Years WHERE Years = p_year
$$;

-- The latest period in which the period procedure p_type (6: suppliers)
-- ran for a company: its month and year key.
CREATE FUNCTION sp_AW_Get_Last_Period_Procedure_Period(
  p_type integer, p_company integer, OUT "MonthID" integer,
  OUT "YearID" integer)
LANGUAGE sql STABLE AS $$
  SELECT pp.MonthID, pp.YearID
    FROM PeriodProcedures pp
    JOIN Years y ON y.ID = pp.YearID
   WHERE pp.ProcedureType = p_type AND pp.CompanyID = p_company
   ORDER BY y.Years DESC, pp.MonthID DESC
   LIMIT 1
$$;

-- Lists and rows the host screens read.

CREATE FUNCTION sp_AW_Select_Months()
RETURNS TABLE ("ID" integer, "Months" text)
LANGUAGE sql STABLE AS $$
  SELECT ID, Months FROM Months ORDER BY ID
$$;

CREATE FUNCTION sp_AW_Select_Years()
RETURNS TABLE ("ID" integer, "Years" integer)
LANGUAGE sql STABLE AS $$
  SELECT ID, Years FROM Years ORDER BY Years
$$;

CREATE FUNCTION sp_AO_Select_Suppliers(p_company integer)
RETURNS TABLE ("ID" integer, "Code" text, "Supplier" text)
LANGUAGE sql STABLE AS $$
  SELECT ID, Code, Name FROM Suppliers WHERE CompanyID = p_company
   ORDER BY Name
$$;

CREATE FUNCTION sp_AO_Select_Products(p_company integer)
RETURNS TABLE ("ID" integer, "Code" text, "Product" text)
LANGUAGE sql STABLE AS $$
  SELECT ID, Code, Description FROM Products WHERE CompanyID = p_company
   ORDER BY Code
$$;

-- A product row as the order item fill reads it.
CREATE FUNCTION sp_AO_Select_Product_Details(p_product integer)
RETURNS TABLE (
  "ID" integer, "Code" text, "Product" text, "Price 1" currency,
  "Price 2" currency, "Lead Time" integer, "Service Level" double precision,
  "Last Sale" date, "Stock On Hand" double precision,
  "Stock Reserved" double precision, "Qty on order" double precision,
  "Orders Pending" double precision, "Shopping List Qty" double precision,
  "Last_Cost" currency, "Trade_Discount_Formula_ID" integer,
  "Rebate_Discount_Formula_ID" integer, "Tax_Codes_ID" integer)
LANGUAGE sql STABLE AS $$
  SELECT ID, Code, Description, Price1, Price2, LeadTime, ServiceLevel,
         LastSale, StockOnHand, StockReserved, QtyOnOrder, OrdersPending,
         ShoppingListQty, LastCost, TradeDiscountFormulaID,
         RebateDiscountFormulaID, TaxCodesID
    FROM Products WHERE ID = p_product
$$;

-- The detail rows of a saved order, in the order-detail row layout.
CREATE FUNCTION sp_AO_Select_Order_Details(p_order integer)
RETURNS TABLE (
  "ID" integer, "OrderID" integer, "Products ID" integer, "Product" text,
  "Lead Time" integer, "Qty" double precision, "B/O Qty" double precision,
  "Free Qty" double precision, "Unit Price" currency,
  "Trade_Discount_Formula_ID" integer, "Trade Disc" currency,
  "Rebate_Formula_ID" integer, "Rebate Disc" currency,
  "Other_Discount_Formula_ID" integer, "Other Disc" currency,
  "Net Amount" currency, "Tax_Codes_ID" integer, "Tax" currency,
  "Total Cost" currency)
LANGUAGE sql STABLE AS $$
  SELECT d.ID, d.PurchaseOrderID, d.ProductID, p.Description, d.LeadTime,
         d.Qty, d.BOQty, d.FreeQty, d.UnitPrice, d.TradeDiscountFormulaID,
         d.TradeDisc, d.RebateFormulaID, d.RebateDisc,
         d.OtherDiscountFormulaID, d.OtherDisc, d.NetAmount, d.TaxCodesID,
         d.Tax, d.TotalCost
    FROM PurchaseOrderDetails d
    LEFT JOIN Products p ON p.ID = d.ProductID
   WHERE d.PurchaseOrderID = p_order
   ORDER BY d.ID
$$;

-- The detail rows of a saved voucher, in the voucher-detail row layout.
CREATE FUNCTION sp_AO_Select_GRV_Details(p_voucher integer)
RETURNS TABLE (
  "ID" integer, "FK ID" integer, "ProductsID" integer, "Product" text,
  "Code" text, "Qty" double precision, "Unit Price" currency,
  "Trade Disc" currency, "Rebate Disc" currency, "Other Disc" currency,
  "Net Amount" currency, "Tax_Codes_ID" integer, "Tax Code" text,
  "Tax Amount" currency, "Total Cost" currency,
  "Qty Returned" double precision, "Qty Sold" double precision,
  "Qty Left" double precision)
LANGUAGE sql STABLE AS $$
  SELECT gd.ID, gd.SourceLineID, gd.ProductID, p.Description, p.Code,
         gd.Qty, gd.UnitPrice, gd.TradeDisc, gd.RebateDisc, gd.OtherDisc,
         gd.NetAmount, gd.TaxCodesID, t.Code, gd.TaxAmount, gd.TotalCost,
         gd.QtyReturned, gd.QtySold, gd.QtyLeft
    FROM GRVDetails gd
    LEFT JOIN Products p ON p.ID = gd.ProductID
    LEFT JOIN TaxCodes t ON t.ID = gd.TaxCodesID
   WHERE gd.GRVID = p_voucher
   ORDER BY gd.ID
$$;

-- ---- Books: what the database itself refuses ------------------------------
-- An order line the books cannot hold (see procedures.sql): the host
-- refuses it first, naming the line and its figures; this stops a host that
-- skips the desk.
CREATE OR REPLACE FUNCTION kvt_order_line_bookable() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
  IF NEW.Qty IS NOT NULL AND (NEW.Qty = 'NaN' OR NEW.Qty < 0.0000005
                              OR NEW.Qty = 'Infinity') THEN
    RAISE EXCEPTION 'An order line needs a quantity of at least 0.000001, not %.', NEW.Qty;
  END IF;
  IF NEW.BOQty IS NOT NULL AND (NEW.BOQty = 'NaN' OR NEW.BOQty < 0
                                OR NEW.BOQty = 'Infinity') THEN
    RAISE EXCEPTION 'An order line''s back order must be a quantity of 0 or more, not %.',
      NEW.BOQty;
  END IF;
  IF NEW.UnitPrice IS NOT NULL AND (NEW.UnitPrice = 'NaN' OR NEW.UnitPrice < 0) THEN
    RAISE EXCEPTION 'An order line''s unit price must be an amount of 0 or more, not %.',
      NEW.UnitPrice;
  END IF;
  IF NEW.QtyReceived > COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0) + 0.0000005 THEN
    RAISE EXCEPTION 'An order line cannot be ordered below what was received on it: % ordered, % received.',
      COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0), NEW.QtyReceived;
  END IF;
  RETURN NEW;
END
$$;
DROP TRIGGER IF EXISTS PurchaseOrderDetails_Bookable ON PurchaseOrderDetails;
CREATE TRIGGER PurchaseOrderDetails_Bookable
  BEFORE INSERT ON PurchaseOrderDetails
  FOR EACH ROW EXECUTE FUNCTION kvt_order_line_bookable();
-- A receipt changes only what was received: the function runs when a
-- figure it checks changed or the receipt would go past the order, not on
-- every line a posting draws on.
DROP TRIGGER IF EXISTS PurchaseOrderDetails_Bookable_Update ON PurchaseOrderDetails;
CREATE TRIGGER PurchaseOrderDetails_Bookable_Update
  BEFORE UPDATE ON PurchaseOrderDetails
  FOR EACH ROW
  WHEN (NEW.Qty IS DISTINCT FROM OLD.Qty OR NEW.BOQty IS DISTINCT FROM OLD.BOQty
        OR NEW.UnitPrice IS DISTINCT FROM OLD.UnitPrice
        OR NEW.QtyReceived > COALESCE(NEW.Qty, 0) + COALESCE(NEW.BOQty, 0) + 0.0000005)
  EXECUTE FUNCTION kvt_order_line_bookable();
