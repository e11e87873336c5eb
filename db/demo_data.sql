-- Demo data: one trading company (and a second one to prove that queries
-- keep companies apart), its suppliers, products, formulas, tax codes,
-- orders in every state, received and returned vouchers, consignment stock,
-- the stock movements and supplier documents their posting left, accounting
-- periods and saved control values.
--
-- Written once for both backends (see schema.sql): booleans as TRUE and
-- FALSE, and only functions both engines know.

INSERT INTO Companies (ID, Name, RegNo, Address1, Address2, PostCode, TelNo,
                       FaxNo, TaxNo, DefaultMessage) VALUES
(1, 'Kestrel Hardware Supplies', '2009/114522/07', 'PO Box 4410',
 'Bellville', '7535', '021 948 1100', '021 948 1101', '4410239871',
 'Please quote our order number on all delivery notes and invoices.'),
(2, 'Osprey Building Centre', '2014/208817/07', 'PO Box 77', 'Worcester',
 '6850', '023 342 5500', '023 342 5501', '4870012345',
 'Deliveries between 08:00 and 15:00 only.');

INSERT INTO Users (ID, Username) VALUES (1, 'admin'), (2, 'clerk');

INSERT INTO Suppliers (ID, CompanyID, Code, Name, PostBox, PostOffice,
                       PostCode, TelNo, FaxNo, TaxNo, Rep) VALUES
(1, 1, 'HARB01', 'Harbour Fasteners CC', 'PO Box 1201', 'Paarden Eiland',
 '7420', '021 511 2020', '021 511 2021', '4120098765', 'Thandi Mokoena'),
(2, 1, 'RIDG01', 'Ridgeway Paints Ltd', 'PO Box 88', 'Epping', '7475',
 '021 534 7788', '021 534 7789', '4550123987', 'Pieter van Wyk'),
(3, 1, 'VELD01', 'Veldt Timber Merchants', 'Private Bag X9', 'Stellenbosch',
 '7599', '021 880 4040', NULL, '4330987001', NULL),
(4, 1, 'SUMM01', 'Summit Electrical Wholesale', 'PO Box 310', 'Montague Gardens',
 '7441', '021 552 9090', '021 552 9091', '4660555120', 'Ravi Naidoo'),
(5, 2, 'COAS01', 'Coastal Tools', 'PO Box 12', 'Worcester', '6849',
 '023 347 1212', NULL, '4990100200', 'Anna Smit');

INSERT INTO TaxCodes (ID, CompanyID, Code, Description, Rate) VALUES
(1, NULL, 'VAT 15%', 'Standard rate', 15),
(2, NULL, 'Zero rated', 'Zero rated supplies', 0),
(3, NULL, 'Exempt', 'Exempt supplies', 0),
(4, 1, 'Capital 15%', 'Capital goods', 15);

INSERT INTO DiscountFormulas (ID, CompanyID, FormulaType, Description,
                              Formula) VALUES
(1, NULL, 0, 'No formula', '0'),
(2, NULL, 0, 'Five percent', 'X*0.05'),
(3, NULL, 0, 'Two and a half percent, rounded', 'Round(X*0.025, 2)'),
(4, NULL, 0, 'Ten per full thousand', 'Int(X/1000)*10'),
(5, 1, 1, 'Trade seven and a half percent', 'X*0.075'),
(6, 1, 2, 'Rebate two percent', 'x*0.02'),
(7, 1, 3, 'Freight levy one percent', 'X*0.01'),
(8, 1, 0, 'Ten per thousand plus one percent',
 'Int(X/1000)*10 +' || char(13) || char(10) || 'X*0.01'),
(9, 2, 0, 'Osprey volume three percent', 'X*0.03');

INSERT INTO Products (ID, CompanyID, Code, Description, Price1, Price2,
                      LeadTime, ServiceLevel, LastSale, StockOnHand,
                      StockReserved, QtyOnOrder, OrdersPending,
                      ShoppingListQty, LastCost, TradeDiscountFormulaID,
                      RebateDiscountFormulaID, TaxCodesID, Barcode) VALUES
(1, 1, 'BLT-M10', 'Hex bolt M10 x 50, box of 100', 89.95, 84.50, 7, 95,
 '2026-11-28', 42, 5, 15, 1, 0, 50.00, 2, 6, 1, '6001230044011'),
(2, 1, 'NUT-M10', 'Hex nut M10, box of 200', 64.50, 59.95, 7, 95,
 '2026-11-30', 18, 0, 20, 1, 10, 42.75, NULL, NULL, NULL, '6001230044028'),
(3, 1, 'WSH-M10', 'Flat washer M10, box of 500', 38.00, 35.00, 10, 90,
 '2026-10-14', 120, 20, 0, 0, 0, 19.80, 1, 1, 1, '6001230044035'),
(4, 1, 'ANC-12', 'Sleeve anchor 12 mm, box of 25', 145.00, 139.00, 14, 90,
 NULL, 0, 0, 40, 1, 25, 96.40, 3, NULL, 1, '6001230044042'),
(5, 1, 'PNT-WHT5', 'Acrylic wall paint white, 5 l', 389.00, 369.00, 5, 98,
 '2026-12-01', 64, 12, 48, 2, 0, 245.60, 2, 1, 1, '6001230044059'),
(6, 1, 'PNT-PRM5', 'Universal primer, 5 l', 299.00, 285.00, 5, 98,
 '2026-11-20', 21, 0, 0, 0, 6, 188.25, NULL, 1, NULL, '6001230044066'),
(7, 1, 'TMB-PINE', 'Pine beam 38 x 114 x 3.6 m', 159.00, 149.00, 21, 85,
 '2026-11-05', 85, 10, 40, 1, 0, 98.00, 4, NULL, 1, '6001230044073'),
(8, 1, 'TMB-DECK', 'Balau decking 19 x 90 x 3 m', 219.00, 209.00, 28, 85,
 '2026-09-18', 30, 0, 0, 0, 0, 144.50, NULL, NULL, 2, '6001230044080'),
(9, 1, 'GEN-2KVA', 'Petrol generator 2 kVA', 1899.00, 1799.00, 30, 80,
 '2026-08-02', 3, 1, 2, 1, 0, 1234.50, 5, 6, 4, '6001230044097'),
(10, 1, 'CBL-2.5', 'Twin and earth cable 2.5 mm, 100 m', 1150.00, 1099.00,
 10, 92, NULL, 7, 2, 10, 1, 5, NULL, 8, 1, 1, '6001230044103'),
(11, 2, 'DRL-18V', 'Cordless drill 18 V', 1450.00, 1390.00, 12, 90,
 '2026-11-11', 9, 0, 5, 1, 0, 980.00, 9, NULL, 1, '6001230044110');

INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber,
                            DateOrdered, Status, OurRef, SuppRef, DelName,
                            DelAddr1, DelAddr2, DelAddr3, DelPostCode,
                            Message) VALUES
(1, 1, 1, 'PO000101', '2026-10-05', 1, 'KH-2210', 'HF-Q-3321',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', NULL),
(2, 1, 1, 'PO000102', '2026-11-02', 1, 'KH-2291', NULL, 'Kestrel Bellville',
 '14 Voortrekker Road', 'Bellville', 'Cape Town', '7530',
 'Urgent: site delivery required by the 20th.'),
(3, 1, 1, 'PO000103', '2026-11-25', 0, 'KH-2330', NULL, 'Kestrel Bellville',
 '14 Voortrekker Road', 'Bellville', 'Cape Town', '7530', NULL),
(4, 1, 1, 'PO000104', '2026-09-12', 1, 'KH-2150', 'HF-Q-3104',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', NULL),
(5, 1, 2, 'PO000105', '2026-11-10', 1, 'KH-2302', 'RP-7781',
 'Kestrel Durbanville', '3 Wellington Road', 'Durbanville', 'Cape Town',
 '7550', NULL),
(6, 1, 3, 'PO000106', '2026-10-01', 1, 'KH-2200', 'VT-CONS-12',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', 'Consignment stock: invoice only on sale.'),
(7, 1, 4, 'PO000107', '2026-11-18', 1, 'KH-2315', 'SE-5510',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', NULL),
(8, 2, 5, 'PO000801', '2026-11-12', 1, 'OB-0091', NULL,
 'Osprey Worcester', '8 Church Street', 'Worcester', NULL, '6850', NULL),
-- Partly received on two vouchers: one line complete, one with its back
-- order still to come, one short.
(10, 1, 1, 'PO000110', '2026-11-05', 1, 'KH-2280', 'HF-Q-3390',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', NULL);

-- Amounts: net = qty x price less the three discounts, tax and total
-- follow below from the tax code's rate.
INSERT INTO PurchaseOrderDetails (ID, PurchaseOrderID, ProductID, LeadTime,
                                  Qty, BOQty, FreeQty, QtyReceived,
                                  UnitPrice, TradeDiscountFormulaID,
                                  TradeDisc, RebateFormulaID, RebateDisc,
                                  OtherDiscountFormulaID, OtherDisc,
                                  TaxCodesID) VALUES
-- Partly received with a back order: 10 + 5 ordered, 12 received; trade
-- 10 %, rebate 5 % of the after-trade 675.00, as its voucher line has them.
(1, 1, 1, 7, 10, 5, 0, 12, 50.00, 1, 75.00, 1, 33.75, 1, 0, 1),
-- Not received at all, no back-order quantity, no tax code.
(2, 1, 2, 7, 20, NULL, 2, 0, 42.75, 1, 0, 1, 0, 1, 0, NULL),
-- Fully received: not outstanding.
(3, 1, 3, 10, 50, 0, 0, 50, 19.80, 3, 24.75, 1, 0, 1, 0, 1),
(4, 2, 4, 14, 40, 0, 0, 0, 96.40, 3, 96.40, 1, 0, 1, 0, 1),
(5, 2, 10, 10, 10, 0, 0, 4, 1080.00, 8, 208.00, 1, 0, 7, 105.92, 1),
(6, 3, 1, 7, 5, 0, 0, 0, 50.00, 1, 0, 1, 0, 1, 0, 1),
(7, 4, 3, 10, 100, 0, 0, 100, 19.80, 1, 0, 1, 0, 1, 0, 1),
(8, 5, 5, 5, 48, 0, 0, 24, 245.60, 2, 589.44, 1, 0, 1, 0, 1),
(9, 5, 6, 5, 12, 0, 0, 0, 188.25, 1, 0, 1, 0, 1, 0, NULL),
(10, 5, 9, 30, 2, 0, 0, 0, 1234.50, 5, 185.18, 6, 45.68, 1, 0, 4),
(11, 6, 7, 21, 20, 0, 0, 20, 98.00, 1, 0, 1, 0, 1, 0, 1),
(12, 6, 8, 28, 12, 0, 0, 12, 144.50, 1, 0, 1, 0, 1, 0, 2),
(13, 6, 7, 21, 20, 0, 0, 0, 98.00, 1, 0, 1, 0, 1, 0, 1),
(14, 7, 10, 10, 10, 0, 0, 0, 1150.00, 1, 0, 1, 0, 1, 0, 1),
(15, 8, 11, 12, 5, 0, 0, 0, 980.00, 9, 147.00, 1, 0, 1, 0, 1),
(16, 10, 2, 7, 30, 0, 0, 30, 42.75, 1, 0, 1, 0, 1, 0, 1),
(17, 10, 1, 7, 20, 10, 0, 20, 50.00, 1, 0, 1, 0, 1, 0, 1),
(18, 10, 3, 10, 40, 0, 0, 15, 19.80, 1, 0, 1, 0, 1, 0, 1);

INSERT INTO TransactionTypes (ID, Description) VALUES
(19, 'Goods Received Voucher'), (20, 'Goods Returned Voucher'),
(31, 'Consignment Received Voucher'), (32, 'Consignment Returned Voucher');

INSERT INTO GRVs (ID, CompanyID, SupplierID, TranTypeID, VoucherNumber,
                  PurchaseOrderID, SourceGRVID, DateReceived, DelNoteNumber,
                  OurRef, SuppRef, UserID, Notes, SupplierDocNo,
                  SupplierDocDate, AccPeriodMonth, AccPeriodYearID) VALUES
(1, 1, 1, 19, 'GRV000201', 1, NULL, '2026-10-20', 'DN-4471', 'KH-2210',
 'HF-Q-3321', 1, 'Two boxes of bolts arrived with damaged packaging.',
 'INV-88120', '2026-10-20', 10, 7),
(2, 1, 1, 19, 'GRV000202', 4, NULL, '2026-09-19', 'DN-4302', 'KH-2150',
 'HF-Q-3104', 2, NULL, 'INV-87711', '2026-09-19', 9, 7),
(3, 1, 1, 20, 'GRN000301', 1, 1, '2026-10-24', 'RN-0012', 'KH-2210',
 'HF-Q-3321', 1, 'Returned: damaged boxes.', 'CN-1022', '2026-10-24', 10, 7),
(4, 1, 3, 31, 'CRV000401', 6, NULL, '2026-10-08', 'VT-DN-901', 'KH-2200',
 'VT-CONS-12', 2, 'Consignment stock on the yard.', NULL, NULL, 10, 7),
(5, 1, 3, 32, 'CRN000501', 6, 4, '2026-11-16', 'VT-RN-33', 'KH-2200',
 'VT-CONS-12', 2, NULL, NULL, NULL, 11, 7),
(6, 1, 2, 19, 'GRV000203', 5, NULL, '2026-11-20', 'RP-DN-5520', 'KH-2302',
 'RP-7781', 1, NULL, 'RP-INV-3310', '2026-11-20', 11, 7),
(7, 1, 1, 19, 'GRV000204', 2, NULL, '2026-11-22', 'DN-4512', 'KH-2291',
 NULL, 1, NULL, 'INV-88433', '2026-11-22', 11, 7),
(9, 1, 1, 19, 'GRV000206', 10, NULL, '2026-11-28', 'DN-4490', 'KH-2280',
 'HF-Q-3390', 2, NULL, 'INV-88501', '2026-11-28', 11, 7),
(10, 1, 1, 19, 'GRV000207', 10, NULL, '2026-11-30', 'DN-4503', 'KH-2280',
 'HF-Q-3390', 1, 'Invoice to follow.', NULL, NULL, 11, 7);

INSERT INTO GRVDetails (ID, GRVID, SourceLineID, ProductID, Qty, UnitPrice,
                        TradeDisc, RebateDisc, OtherDisc, TaxCodesID,
                        QtyReturned, QtySold, QtyLeft) VALUES
-- 12 at 50.00, trade 60.00 (10 %), rebate 27.00 (5 % of 540.00).
(1, 1, 1, 1, 12, 50.00, 60.00, 27.00, 0, 1, 2, 0, NULL),
(2, 1, 3, 3, 50, 19.80, 24.75, 0, 0, NULL, 0, 0, NULL),
(3, 2, 7, 3, 100, 19.80, 0, 0, 0, 1, 0, 0, NULL),
(4, 3, 1, 1, 2, 50.00, 10.00, 4.50, 0, 1, 0, 0, NULL),
-- Consignment: 20 received, 10 sold, 3 returned, 7 left.
(5, 4, 11, 7, 20, 98.00, 0, 0, 0, 1, 3, 10, 7),
-- Consignment line whose quantity left was never counted.
(6, 4, 12, 8, 12, 144.50, 0, 0, 0, 2, 0, 0, NULL),
(7, 5, 5, 7, 3, 98.00, 0, 0, 0, 1, 0, 0, 0),
(8, 6, 8, 5, 24, 245.60, 294.72, 0, 0, 1, 0, 0, NULL),
(9, 7, 5, 10, 4, 1080.00, 83.20, 0, 42.37, 1, 0, 0, NULL),
(10, 9, 16, 2, 30, 42.75, 0, 0, 0, 1, 0, 0, NULL),
(11, 9, 17, 1, 12, 50.00, 0, 0, 0, 1, 0, 0, NULL),
(12, 10, 17, 1, 8, 50.00, 0, 0, 0, 1, 0, 0, NULL),
(13, 10, 18, 3, 15, 19.80, 0, 0, 0, 1, 0, 0, NULL);

-- A long order and its voucher, more lines than one printed page holds:
-- 40 lines, the first 30 received on GRV000205, the last 10 outstanding.
INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber,
                            DateOrdered, Status, OurRef, SuppRef, DelName,
                            DelAddr1, DelAddr2, DelAddr3, DelPostCode,
                            Message) VALUES
(9, 1, 4, 'PO000109', '2026-11-21', 1, 'KH-2320', 'SE-5530',
 'Kestrel Bellville', '14 Voortrekker Road', 'Bellville', 'Cape Town',
 '7530', NULL);

WITH RECURSIVE n(k) AS (SELECT 0 UNION ALL SELECT k + 1 FROM n WHERE k < 39)
INSERT INTO PurchaseOrderDetails (ID, PurchaseOrderID, ProductID, LeadTime,
                                  Qty, BOQty, FreeQty, QtyReceived,
                                  UnitPrice, TradeDiscountFormulaID,
                                  TradeDisc, RebateFormulaID, RebateDisc,
                                  OtherDiscountFormulaID, OtherDisc,
                                  TaxCodesID)
SELECT 100 + k, 9, p.ID, p.LeadTime, 5 + k % 4, 0, 0,
       CASE WHEN k < 30 THEN 5 + k % 4 ELSE 0 END,
       COALESCE(p.LastCost, 1000.00), 1, 0, 1, 0, 1, 0, 1
  FROM n JOIN Products p ON p.ID = 1 + k % 10;

INSERT INTO GRVs (ID, CompanyID, SupplierID, TranTypeID, VoucherNumber,
                  PurchaseOrderID, SourceGRVID, DateReceived, DelNoteNumber,
                  OurRef, SuppRef, UserID, Notes, SupplierDocNo,
                  SupplierDocDate, AccPeriodMonth, AccPeriodYearID) VALUES
(8, 1, 4, 19, 'GRV000205', 9, NULL, '2026-11-27', 'SE-DN-7710', 'KH-2320',
 'SE-5530', 2, 'First delivery of the long order.', 'SE-INV-9021',
 '2026-11-27', 11, 7);

INSERT INTO GRVDetails (ID, GRVID, SourceLineID, ProductID, Qty, UnitPrice,
                        TradeDisc, RebateDisc, OtherDisc, TaxCodesID,
                        QtyReturned, QtySold, QtyLeft)
SELECT d.ID, 8, d.ID, d.ProductID, d.Qty, d.UnitPrice, 0, 0, 0,
       1, 0, 0, NULL
  FROM PurchaseOrderDetails d
 WHERE d.PurchaseOrderID = 9 AND d.QtyReceived > 0;

-- Line amounts from quantities, prices and discounts; tax from the rate.
UPDATE PurchaseOrderDetails
   SET NetAmount = ROUND(Qty * UnitPrice - TradeDisc - RebateDisc - OtherDisc, 2);
UPDATE PurchaseOrderDetails
   SET Tax = ROUND(NetAmount * COALESCE(
         (SELECT Rate FROM TaxCodes t WHERE t.ID = TaxCodesID), 15.0) / 100.0, 2);
UPDATE PurchaseOrderDetails SET TotalCost = ROUND(NetAmount + Tax, 2);

UPDATE GRVDetails
   SET NetAmount = ROUND(Qty * UnitPrice - TradeDisc - RebateDisc - OtherDisc, 2);
UPDATE GRVDetails
   SET TaxAmount = ROUND(NetAmount * COALESCE(
         (SELECT Rate FROM TaxCodes t WHERE t.ID = TaxCodesID), 15.0) / 100.0, 2);
UPDATE GRVDetails SET TotalCost = ROUND(NetAmount + TaxAmount, 2);

INSERT INTO Months (ID, Months) VALUES
(1, 'January'), (2, 'February'), (3, 'March'), (4, 'April'), (5, 'May'),
(6, 'June'), (7, 'July'), (8, 'August'), (9, 'September'), (10, 'October'),
(11, 'November'), (12, 'December');

-- Year keys 1.. for 2020..2035.
WITH RECURSIVE y(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM y WHERE k < 16)
INSERT INTO Years (ID, Years) SELECT k, 2019 + k FROM y;
-- 2019 was added later, for history taken on: its key follows 2035's.
INSERT INTO Years (ID, Years) VALUES (17, 2019);

-- Company 1 works in November 2026; September and October are closed.
INSERT INTO AccountingPeriods (ID, CompanyID, MonthID, YearID, PeriodName,
                               Status, IsCurrent) VALUES
(1, 1, 9, 7, 'September 2026', 'Closed', FALSE),
(2, 1, 10, 7, 'October 2026', 'Closed', FALSE),
(3, 1, 11, 7, 'November 2026', 'Open', TRUE),
(4, 1, 12, 7, 'December 2026', 'Open', FALSE),
(5, 1, 1, 8, 'January 2027', 'Future', FALSE),
(6, 2, 12, 7, 'December 2026', 'Open', TRUE);

INSERT INTO PeriodProcedures (ID, CompanyID, ProcedureType, MonthID, YearID,
                              DateRun) VALUES
(1, 1, 6, 9, 7, '2026-10-02'),
(2, 1, 6, 10, 7, '2026-11-03'),
(3, 1, 4, 11, 7, '2026-12-01'),
(4, 2, 6, 11, 7, '2026-12-02'),
(5, 1, 6, 12, 17, '2020-01-06');

-- What the posting of these vouchers left behind: the supplier documents
-- raised with them, and a stock movement per voucher line.
INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType,
                               DocNumber, DocDate, Amount, AccPeriodMonth,
                               AccPeriodYearID)
SELECT g.CompanyID, g.SupplierID, g.ID,
       CASE g.TranTypeID WHEN 19 THEN 'Invoice' WHEN 20 THEN 'Credit Note'
                         WHEN 31 THEN 'Receipt' ELSE 'Return Note' END,
       g.SupplierDocNo, g.SupplierDocDate,
       (SELECT ROUND(SUM(gd.TotalCost), 2) FROM GRVDetails gd
         WHERE gd.GRVID = g.ID),
       g.AccPeriodMonth, g.AccPeriodYearID
  FROM GRVs g
 WHERE g.SupplierDocNo IS NOT NULL
 ORDER BY g.ID;

INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty,
                            MovementType, GRVID, GRVDetailID, MovementDate,
                            UserID)
SELECT g.CompanyID, gd.ProductID, g.TranTypeID IN (31, 32),
       CASE WHEN g.TranTypeID IN (20, 32) THEN -gd.Qty ELSE gd.Qty END,
       g.TranTypeID, g.ID, gd.ID, g.DateReceived, g.UserID
  FROM GRVDetails gd
  JOIN GRVs g ON g.ID = gd.GRVID
 ORDER BY gd.ID;

-- The 10 pine beams sold off consignment line 5.
INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty,
                            MovementType, GRVID, GRVDetailID, MovementDate,
                            UserID) VALUES
(1, 7, TRUE, -10, 1, 4, 5, '2026-11-10', 2);

-- Counts and sales from before these vouchers, one adjustment per product,
-- bring each figure to the stock on hand above.
INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty,
                            MovementType, MovementDate)
SELECT p.CompanyID, p.ID, FALSE,
       COALESCE(p.StockOnHand, 0) - COALESCE(
         (SELECT SUM(m.Qty) FROM StockMovements m
           WHERE m.ProductID = p.ID AND m.Consignment = FALSE), 0),
       0, '2026-09-01'
  FROM Products p
 ORDER BY p.ID;

UPDATE Products
   SET ConsignmentStock = COALESCE(
         (SELECT SUM(m.Qty) FROM StockMovements m
           WHERE m.ProductID = Products.ID AND m.Consignment = TRUE), 0);

INSERT INTO CompanyControlValues (CompanyID, ControlKind, ControlName,
                                  ControlIndex, ControlValue) VALUES
(1, 'CheckBox', 'chkAccountant', 0, '0'),
(1, 'CheckBox', 'chkAccountant', 1, '0'),
(1, 'CheckBox', 'chkAutoAdvancePeriod', 1, '0'),
(1, 'CheckBox', 'chkPriorPeriodGRVPosting', 0, '0'),
(1, 'CheckBox', 'chkNonInvoiceGRV', 0, '1'),
(2, 'CheckBox', 'chkAccountant', 0, '1'),
(2, 'CheckBox', 'chkAccountant', 1, '1'),
(2, 'CheckBox', 'chkAutoAdvancePeriod', 1, ' 1 '),
(2, 'CheckBox', 'chkPriorPeriodGRVPosting', 0, '1'),
(2, 'CheckBox', 'chkNonInvoiceGRV', 0, '0');

-- Database "KvtDemo": boxed purchase orders and received vouchers, plain
-- returned vouchers; the clerk prefers plain purchase orders and has a
-- purchasing printer.
INSERT INTO UserControlValues (DatabaseName, UserName, ControlKind,
                               ControlName, ControlIndex, ControlValue) VALUES
('KvtDemo', '', 'CheckBox', 'chkPOGRVForm', 0, '1'),
('KvtDemo', '', 'CheckBox', 'chkPOGRVForm', 1, '1'),
('KvtDemo', '', 'CheckBox', 'chkPOGRVForm', 2, '0'),
('KvtDemo', 'clerk', 'CheckBox', 'chkPOGRVForm', 0, '0'),
('KvtDemo', 'clerk', 'ComboBox', 'cboPrinters', 6, 'Purchasing Printer'),
('KvtDemo', 'clerk', 'ComboBox', 'cboPrinters', 7, 'Purchasing Printer');
