-- Twenty processed orders of supplier 1, five lines each of the demo's
-- first products, with far more ordered than a load run receives.
INSERT INTO PurchaseOrders (ID, CompanyID, SupplierID, OrderNumber, DateOrdered, Status)
  SELECT 5000 + n, 1, 1, 'PL' || (5000 + n), '2026-11-01', 1
    FROM (SELECT 1 AS n UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
          UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8
          UNION ALL SELECT 9 UNION ALL SELECT 10 UNION ALL SELECT 11 UNION ALL SELECT 12
          UNION ALL SELECT 13 UNION ALL SELECT 14 UNION ALL SELECT 15 UNION ALL SELECT 16
          UNION ALL SELECT 17 UNION ALL SELECT 18 UNION ALL SELECT 19 UNION ALL SELECT 20) o;
INSERT INTO PurchaseOrderDetails (ID, PurchaseOrderID, ProductID, Qty, BOQty, FreeQty,
                                  QtyReceived, UnitPrice, TradeDisc, RebateDisc, OtherDisc,
                                  NetAmount, TaxCodesID, Tax, TotalCost)
  SELECT po.ID * 10 + p.ID, po.ID, p.ID, 1000000, 0, 0, 0, 10, 0, 0, 0, 10000000, 2, 0, 10000000
    FROM PurchaseOrders po, Products p
   WHERE po.ID > 5000 AND po.ID <= 5020 AND p.ID <= 5 AND p.CompanyID = 1;
