-- Posting on a server: a voucher of any kind, and a consignment sale, in
-- one call each, checked and written by the database itself. Run after
-- access_postgres.sql, by the schema's owner, in the schema the tables are
-- in; a database an earlier build made gets it when its owner opens it.
--
-- The functions run as the schema's owner (SECURITY DEFINER): they check
-- the caller's roles, companies and the posting period themselves, and
-- refuse what the host refuses with the host's words. A refusal of the
-- books is SQLSTATE KV001; a refusal for want of a role is 42501. The
-- triggers of access_postgres.sql still see the caller (session_user),
-- so the posting rules and the audit trail's "who" hold as before.

-- Postings committed and not yet finished (numbered, their stock figures
-- moved and their audit row written): what each audit row will say.
CREATE TABLE IF NOT EXISTS PostingsToFinish (
  GRVID     integer PRIMARY KEY REFERENCES GRVs(ID),
  CompanyID integer NOT NULL,
  At        timestamp NOT NULL,
  UserName  text NOT NULL,
  Client    text,
  Details   text
);
REVOKE ALL ON PostingsToFinish FROM PUBLIC;
-- The vouchers still waiting for their numbers, found at once however long
-- the history.
CREATE INDEX IF NOT EXISTS GRVs_Unnumbered ON GRVs(CompanyID, ID)
  WHERE VoucherNumber LIKE '~%';

-- A quantity as the host writes it in a message: at most six decimals.
CREATE OR REPLACE FUNCTION kvt_qty_text(qty double precision) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT trim_scale(round(qty::numeric, 6))::text
$$;

CREATE OR REPLACE FUNCTION kvt_product_text(code text, name text, product integer)
RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE
           WHEN COALESCE(code, '') = '' AND COALESCE(name, '') = '' THEN 'product ' || product
           WHEN COALESCE(name, '') = '' THEN code
           WHEN COALESCE(code, '') = '' THEN name
           ELSE code || ' (' || name || ')'
         END
$$;

-- Text, or Null for none or only blanks.
CREATE OR REPLACE FUNCTION kvt_blank_null(value text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE WHEN trim(value) = '' THEN NULL ELSE value END
$$;

CREATE OR REPLACE FUNCTION kvt_refuse_posting(message text) RETURNS void
LANGUAGE plpgsql AS $$
BEGIN
  RAISE EXCEPTION USING ERRCODE = 'KV001', MESSAGE = message;
END
$$;

-- "Only a clerk or an accountant may post vouchers; dana holds buyer."
CREATE OR REPLACE FUNCTION kvt_role_refusal(who text, action text) RETURNS text
LANGUAGE sql STABLE AS $$
  SELECT 'Only ' || who || ' may ' || action || '; ' || session_user || ' holds '
         || COALESCE((SELECT string_agg(r.name, ',' ORDER BY r.rank)
                        FROM unnest(ARRAY['buyer', 'clerk', 'accountant', 'admin', 'reader'])
                             WITH ORDINALITY AS r(name, rank)
                       WHERE pg_has_role(session_user, 'kvt_' || r.name, 'MEMBER')),
                     'no role')
         || '.'
$$;

-- The caller may post for `company`: a clerk or an accountant of it, and
-- to a period other than the current one only an accountant (whether the
-- company's rules allow that period is the voucher trigger's to say).
CREATE OR REPLACE FUNCTION kvt_require_posting(company integer, period_month integer,
                                               period_year_key integer) RETURNS void
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
DECLARE
  current_month integer;
  current_year integer;
BEGIN
  IF NOT (kvt_has_role('clerk') OR kvt_has_role('accountant')) THEN
    PERFORM kvt_refuse(kvt_role_refusal('a clerk or an accountant', 'post vouchers'));
  END IF;
  IF period_month IS NULL THEN
    RETURN;
  END IF;
  SELECT MonthID, YearID INTO current_month, current_year
    FROM AccountingPeriods WHERE CompanyID = company AND IsCurrent;
  IF FOUND AND (current_month IS DISTINCT FROM period_month
                OR current_year IS DISTINCT FROM period_year_key)
     AND NOT kvt_has_role('accountant') THEN
    PERFORM kvt_refuse(kvt_role_refusal('an accountant',
                                        'post to a period other than the current one'));
  END IF;
END
$$;

-- The caller works for `company` (the schema's owner for every company).
-- This and kvt_period_name run in every posting: in PL/pgSQL, as the
-- access helpers are, their plans are kept for the session.
CREATE OR REPLACE FUNCTION kvt_company_is_mine(company integer) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
BEGIN
  RETURN kvt_unbound() OR company = ANY (kvt_my_companies());
END
$$;

-- The number `step` places after `last` in the series of `prefix`: its
-- trailing digits plus `step`, at least six digits.
CREATE OR REPLACE FUNCTION kvt_voucher_number_after(prefix text, last text, step bigint)
RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT prefix || lpad(n.v::text, greatest(length(d.v), length(n.v::text), 6), '0')
    FROM (SELECT substring(COALESCE(last, '') FROM '[0-9]*$') AS v) AS d,
         LATERAL (SELECT COALESCE(NULLIF(d.v, ''), '0')::numeric + step AS v) AS n
$$;

-- Its forerunner, which numbered inside the posting.
DROP FUNCTION IF EXISTS kvt_next_voucher_number(text, text);

-- "November 2026", as the audit trail names a period.
CREATE OR REPLACE FUNCTION kvt_period_name(period_month integer, period_year_key integer)
RETURNS text
LANGUAGE plpgsql STABLE AS $$
BEGIN
  RETURN COALESCE(
    (SELECT (ARRAY['January', 'February', 'March', 'April', 'May', 'June', 'July', 'August',
                   'September', 'October', 'November', 'December'])[period_month] || ' ' || Years
       FROM Years WHERE ID = period_year_key AND period_month BETWEEN 1 AND 12),
    'month ' || period_month || ' of year key ' || period_year_key);
END
$$;

-- A line of a voucher as the host sends it. Read from the JSON once per
-- posting and kept in an array: each reading converts every field of every
-- line from text again.
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_type WHERE typnamespace = current_schema()::regnamespace
                   AND typname = 'kvt_voucher_line') THEN
    -- An earlier build's reader returned a table of its own.
    DROP FUNCTION IF EXISTS kvt_voucher_lines(jsonb);
    CREATE TYPE kvt_voucher_line AS (
      ord integer, source_line integer, product integer, qty double precision,
      unit_price numeric, trade_disc numeric, rebate_disc numeric, other_disc numeric,
      net_amount numeric, tax_code integer, tax_amount numeric, total_cost numeric);
  END IF;
END
$$;

-- The lines of a voucher as the host sends them, in their order; an
-- amount left out is 0, as is a product or tax code (none).
CREATE OR REPLACE FUNCTION kvt_voucher_lines(lines jsonb) RETURNS SETOF kvt_voucher_line
LANGUAGE sql IMMUTABLE AS $$
  SELECT l.n::integer, l.source_line, COALESCE(l.product, 0), l.qty,
         COALESCE(l.unit_price, 0), COALESCE(l.trade_disc, 0), COALESCE(l.rebate_disc, 0),
         COALESCE(l.other_disc, 0), COALESCE(l.net_amount, 0), COALESCE(l.tax_code, 0),
         COALESCE(l.tax_amount, 0), COALESCE(l.total_cost, 0)
    FROM ROWS FROM (jsonb_to_recordset(lines)
                    AS (source_line integer, product integer, qty double precision,
                        unit_price numeric, trade_disc numeric, rebate_disc numeric,
                        other_disc numeric, net_amount numeric, tax_code integer,
                        tax_amount numeric, total_cost numeric))
         WITH ORDINALITY AS l(source_line, product, qty, unit_price, trade_disc, rebate_disc,
                              other_disc, net_amount, tax_code, tax_amount, total_cost, n)
$$;

-- Why `qty` cannot be booked on the line `label`, or NULL.
CREATE OR REPLACE FUNCTION kvt_qty_refusal(label text, qty double precision) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE
           WHEN qty IS NULL OR qty = 'NaN' OR qty IN ('Infinity', '-Infinity') THEN
             label || ': the quantity is not a number.'
           WHEN qty < 0.0000005 THEN
             label || ': a quantity of ' || kvt_qty_text(qty)
                   || ' cannot be booked; the least is 0.000001.'
         END
$$;

-- Why a draw on a line cannot be made, from the line as it stands; the
-- quantities already drawn on it by earlier lines of the same voucher
-- are in `taken` and `left_qty`.
CREATE OR REPLACE FUNCTION kvt_draw_refusal(draw text, label text, owner_label text,
                                            on_owner boolean, wanted_product integer,
                                            product integer, code text, name text,
                                            qty double precision, held double precision,
                                            taken double precision, sold double precision,
                                            left_qty double precision, fits boolean)
RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE
    WHEN NOT on_owner THEN label || ' is not a line of ' || owner_label || '.'
    WHEN wanted_product <> 0 AND wanted_product IS DISTINCT FROM product THEN
      label || ' is for product ' || wanted_product || ', but its line on ' || owner_label
            || ' is for ' || kvt_product_text(code, name, COALESCE(product, 0)) || '.'
    WHEN fits THEN NULL
    ELSE
      'Cannot ' || CASE draw WHEN 'receive' THEN 'receive' WHEN 'sell' THEN 'sell'
                    ELSE 'return' END
      || ' ' || kvt_qty_text(qty) || ' of ' || kvt_product_text(code, name, COALESCE(product, 0))
      || ': only '
      || CASE draw
           WHEN 'receive' THEN kvt_qty_text(greatest(held - taken, 0)) || ' outstanding'
           WHEN 'return' THEN kvt_qty_text(greatest(held - taken, 0)) || ' returnable'
           ELSE kvt_qty_text(greatest(left_qty, 0)) || ' left on consignment'
         END
      || ' on ' || owner_label || ' ('
      || CASE draw
           WHEN 'receive' THEN kvt_qty_text(held) || ' ordered, ' || kvt_qty_text(taken)
                               || ' received'
           WHEN 'return' THEN kvt_qty_text(held) || ' received, ' || kvt_qty_text(taken)
                              || ' already returned'
           ELSE kvt_qty_text(held) || ' received, ' || kvt_qty_text(sold) || ' sold, '
                || kvt_qty_text(taken) || ' returned'
         END
      || ').'
  END
$$;

-- Posts a voucher: the header, every line drawn on the order line or
-- received line it names, its stock movements and the supplier's document,
-- or nothing at all. Its number, the stock figures and the audit row
-- follow in kvt_finish_postings, which the poster calls right after the
-- commit (kvt_voucher_number): the company's series and the products stay
-- unlocked while the posting commits, so postings of one company commit
-- side by side. Until then the voucher's number is provisional ("~..."). `p_lines` is a JSON array of objects
-- with source_line, product (0: the drawn line's), qty, unit_price,
-- trade_disc, rebate_disc, other_disc, net_amount, tax_code (0: none),
-- tax_amount and total_cost. Blank texts are stored as Null; an empty
-- p_our_ref takes the order's (or the returned voucher's).
CREATE OR REPLACE FUNCTION kvt_post_voucher(
  p_type integer, p_company integer, p_supplier integer, p_order integer,
  p_source_voucher integer, p_date date, p_del_note text, p_supplier_ref text,
  p_our_ref text, p_notes text, p_user integer, p_month integer, p_year_key integer,
  p_with_document boolean, p_document_number text, p_document_date date, p_lines jsonb)
RETURNS TABLE (posted_id integer, posted_number text, document_id integer)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  k_prefix text;
  k_document text;
  k_source_type integer;
  k_consignment boolean;
  k_return boolean;
  k_draw text;
  owner_id integer;
  owner_label text;
  order_key integer;
  source_ref text;
  new_id integer;
  new_document integer := 0;
  line_count integer;
  total numeric;
  refusal text;
  booked text;
  voucher_lines kvt_voucher_line[];
BEGIN
  PERFORM kvt_require_posting(p_company, p_month, p_year_key);
  SELECT k.prefix, k.document, k.source_type, k.consignment
    INTO k_prefix, k_document, k_source_type, k_consignment
    FROM (VALUES (19, 'GRV', 'Invoice', 0, FALSE), (20, 'GRN', 'Credit Note', 19, FALSE),
                 (31, 'CRV', 'Receipt', 0, TRUE), (32, 'CRN', 'Return Note', 31, TRUE))
         AS k(tran_type, prefix, document, source_type, consignment)
   WHERE k.tran_type = p_type;
  IF NOT FOUND THEN
    PERFORM kvt_refuse_posting('Transaction type ' || COALESCE(p_type::text, '')
                               || ' is not a voucher the host posts.');
  END IF;
  k_return := k_source_type <> 0;
  k_draw := CASE WHEN NOT k_return THEN 'receive' WHEN k_consignment THEN 'consignment'
                 ELSE 'return' END;
  IF COALESCE(p_company, 0) <= 0 OR COALESCE(p_supplier, 0) <= 0 THEN
    PERFORM kvt_refuse_posting('The voucher has no company or no supplier.');
  END IF;
  IF NOT k_return AND COALESCE(p_order, 0) <= 0 THEN
    PERFORM kvt_refuse_posting('A received voucher needs the purchase order it receives.');
  END IF;
  IF k_return AND COALESCE(p_source_voucher, 0) <= 0 THEN
    PERFORM kvt_refuse_posting('A returned voucher needs the received voucher it returns.');
  END IF;
  IF p_month IS NULL OR p_month NOT BETWEEN 1 AND 12 OR COALESCE(p_year_key, 0) <= 0 THEN
    PERFORM kvt_refuse_posting('The voucher has no accounting period.');
  END IF;
  IF p_with_document AND trim(COALESCE(p_document_number, '')) = '' THEN
    PERFORM kvt_refuse_posting('The supplier''s document needs a number.');
  END IF;
  IF p_lines IS NULL OR jsonb_typeof(p_lines) <> 'array' OR jsonb_array_length(p_lines) = 0 THEN
    PERFORM kvt_refuse_posting('The voucher has no lines.');
  END IF;
  SELECT array_agg(l ORDER BY l.ord) INTO voucher_lines FROM kvt_voucher_lines(p_lines) l;

  -- What the voucher draws on, locked until the posting ends.
  IF NOT k_return THEN
    owner_id := p_order;
    SELECT 'order ' || OrderNumber, OurRef INTO owner_label, source_ref FROM PurchaseOrders
     WHERE ID = p_order AND SupplierID = p_supplier AND CompanyID = p_company AND Status = 1
       AND kvt_company_is_mine(p_company)
       FOR NO KEY UPDATE;
    IF NOT FOUND THEN
      PERFORM kvt_refuse_posting('Order ' || p_order
                                 || ' is not an open order of the voucher''s supplier.');
    END IF;
    order_key := p_order;
    PERFORM 1 FROM PurchaseOrderDetails
      WHERE PurchaseOrderID = owner_id
        AND ID IN (SELECT l.source_line FROM unnest(voucher_lines) l)
      ORDER BY ID FOR NO KEY UPDATE;
  ELSE
    owner_id := p_source_voucher;
    SELECT 'voucher ' || VoucherNumber, OurRef, PurchaseOrderID
      INTO owner_label, source_ref, order_key FROM GRVs
     WHERE ID = p_source_voucher AND SupplierID = p_supplier AND CompanyID = p_company
       AND TranTypeID = k_source_type AND kvt_company_is_mine(p_company)
       FOR NO KEY UPDATE;
    IF NOT FOUND THEN
      PERFORM kvt_refuse_posting('Voucher ' || p_source_voucher
                                 || ' is not a voucher of the voucher''s supplier to return'
                                 || ' against.');
    END IF;
    PERFORM 1 FROM GRVDetails
      WHERE GRVID = owner_id AND ID IN (SELECT l.source_line FROM unnest(voucher_lines) l)
      ORDER BY ID FOR NO KEY UPDATE;
  END IF;

  -- The first line that cannot be drawn, as the lines stand with the
  -- voucher's earlier lines on the same line drawn.
  SELECT s.why INTO refusal FROM (
    SELECT x.ord, COALESCE(
             kvt_qty_refusal('Line ' || x.ord, x.qty),
             -- The words only for a line that is refused: a call per line
             -- was a good part of a posting's time.
             CASE WHEN x.on_owner AND (x.wanted = 0 OR x.wanted = x.product)
                       AND x.room - x.prior >= x.qty - 0.0000005 THEN NULL
                  ELSE kvt_draw_refusal(k_draw, 'Line ' || x.ord, owner_label, x.on_owner,
                                        x.wanted, x.product, x.code, x.name, x.qty, x.held,
                                        x.taken + x.prior, x.sold, x.left_qty - x.prior,
                                        COALESCE(x.room - x.prior >= x.qty - 0.0000005, FALSE))
             END) AS why
      FROM (
        SELECT l.ord, l.qty, COALESCE(l.product, 0) AS wanted,
               COALESCE(d.ID, gd.ID) IS NOT NULL AS on_owner,
               COALESCE(d.ProductID, gd.ProductID) AS product, p.Code AS code,
               p.Description AS name,
               CASE WHEN k_return THEN COALESCE(gd.Qty, 0)
                    ELSE COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) END AS held,
               CASE WHEN k_return THEN COALESCE(gd.QtyReturned, 0)
                    ELSE COALESCE(d.QtyReceived, 0) END AS taken,
               COALESCE(gd.QtySold, 0) AS sold, COALESCE(gd.QtyLeft, 0) AS left_qty,
               CASE k_draw
                 WHEN 'receive' THEN COALESCE(d.Qty, 0) + COALESCE(d.BOQty, 0) - d.QtyReceived
                 WHEN 'return' THEN gd.Qty - COALESCE(gd.QtyReturned, 0)
                 ELSE gd.QtyLeft END AS room,
               COALESCE(sum(l.qty) OVER (PARTITION BY l.source_line ORDER BY l.ord
                                         ROWS BETWEEN UNBOUNDED PRECEDING AND 1 PRECEDING),
                        0) AS prior
          FROM unnest(voucher_lines) l
          LEFT JOIN PurchaseOrderDetails d
            ON NOT k_return AND d.ID = l.source_line AND d.PurchaseOrderID = owner_id
          LEFT JOIN GRVDetails gd
            ON k_return AND gd.ID = l.source_line AND gd.GRVID = owner_id
          LEFT JOIN Products p ON p.ID = COALESCE(d.ProductID, gd.ProductID)) AS x) AS s
   WHERE s.why IS NOT NULL ORDER BY s.ord LIMIT 1;
  IF refusal IS NOT NULL THEN
    PERFORM kvt_refuse_posting(refusal);
  END IF;

  INSERT INTO GRVs (CompanyID, SupplierID, TranTypeID, VoucherNumber, PurchaseOrderID,
                    SourceGRVID, DateReceived, DelNoteNumber, OurRef, SuppRef, UserID, Notes,
                    SupplierDocNo, SupplierDocDate, AccPeriodMonth, AccPeriodYearID)
  VALUES (p_company, p_supplier, p_type, '~' || pg_current_xact_id()::text, order_key,
          NULLIF(p_source_voucher, 0), p_date, kvt_blank_null(p_del_note),
          CASE WHEN COALESCE(p_our_ref, '') = '' THEN source_ref ELSE p_our_ref END,
          kvt_blank_null(p_supplier_ref), NULLIF(p_user, 0), kvt_blank_null(p_notes),
          CASE WHEN p_with_document THEN p_document_number END,
          CASE WHEN p_with_document THEN p_document_date END, p_month, p_year_key)
  RETURNING ID INTO new_id;

  -- The draws, summed per drawn line.
  IF k_draw = 'receive' THEN
    UPDATE PurchaseOrderDetails d SET QtyReceived = d.QtyReceived + s.qty
      FROM (SELECT l.source_line, sum(l.qty) AS qty FROM unnest(voucher_lines) l
             GROUP BY l.source_line) AS s
     WHERE d.ID = s.source_line AND d.PurchaseOrderID = owner_id;
  ELSIF k_draw = 'return' THEN
    UPDATE GRVDetails gd SET QtyReturned = COALESCE(gd.QtyReturned, 0) + s.qty
      FROM (SELECT l.source_line, sum(l.qty) AS qty FROM unnest(voucher_lines) l
             GROUP BY l.source_line) AS s
     WHERE gd.ID = s.source_line AND gd.GRVID = owner_id;
  ELSE
    UPDATE GRVDetails gd SET QtyReturned = COALESCE(gd.QtyReturned, 0) + s.qty,
                             QtyLeft = gd.QtyLeft - s.qty
      FROM (SELECT l.source_line, sum(l.qty) AS qty FROM unnest(voucher_lines) l
             GROUP BY l.source_line) AS s
     WHERE gd.ID = s.source_line AND gd.GRVID = owner_id;
  END IF;

  -- The lines, in their order (the product is the drawn line's own), and
  -- the stock: a movement per line (the products' figures follow when the
  -- voucher is numbered).
  WITH added AS (
    INSERT INTO GRVDetails (GRVID, SourceLineID, ProductID, Qty, UnitPrice, TradeDisc,
                            RebateDisc, OtherDisc, NetAmount, TaxCodesID, TaxAmount, TotalCost,
                            QtyReturned, QtySold, QtyLeft)
    SELECT new_id, l.source_line,
           CASE WHEN k_return THEN (SELECT gd.ProductID FROM GRVDetails gd
                                     WHERE gd.ID = l.source_line)
                ELSE (SELECT d.ProductID FROM PurchaseOrderDetails d
                       WHERE d.ID = l.source_line)
           END,
           l.qty, l.unit_price, l.trade_disc, l.rebate_disc, l.other_disc, l.net_amount,
           NULLIF(l.tax_code, 0), l.tax_amount, l.total_cost, 0, 0,
           CASE WHEN k_consignment AND NOT k_return THEN l.qty END
      FROM unnest(voucher_lines) l
     ORDER BY l.ord
    RETURNING ID, ProductID, Qty, TotalCost),
  moved AS (
    INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, MovementType, GRVID,
                                GRVDetailID, MovementDate, UserID)
    SELECT p_company, a.ProductID, k_consignment, CASE WHEN k_return THEN -a.Qty ELSE a.Qty END,
           p_type, new_id, a.ID, p_date, NULLIF(p_user, 0)
      FROM added a ORDER BY a.ID)
  SELECT count(*), COALESCE(sum(a.TotalCost), 0) INTO line_count, total FROM added a;

  -- A supplier's document number is booked once per kind: postings with
  -- the same number are checked one after the other (the lock is the
  -- number's, so other postings of the supplier do not wait). A voucher
  -- that booked it a moment ago is named once it has its number.
  IF p_with_document THEN
    PERFORM pg_advisory_xact_lock((p_supplier::bigint << 32)
                                  | (hashtext(k_document || ' ' || p_document_number)::bigint
                                     & 4294967295));
    FOR attempt IN 1..200 LOOP
      SELECT g.VoucherNumber INTO booked
        FROM SupplierDocuments sd JOIN GRVs g ON g.ID = sd.GRVID
       WHERE sd.SupplierID = p_supplier AND sd.DocType = k_document
         AND sd.DocNumber = p_document_number
       LIMIT 1;
      EXIT WHEN booked IS NULL OR booked NOT LIKE '~%';
      PERFORM pg_sleep(0.01);
    END LOOP;
    IF booked IS NOT NULL THEN
      PERFORM kvt_refuse_posting(k_document || ' ' || p_document_number
                                 || ' of this supplier is already booked on voucher ' || booked
                                 || '; it cannot be booked twice.');
    END IF;
    INSERT INTO SupplierDocuments (CompanyID, SupplierID, GRVID, DocType, DocNumber, DocDate,
                                   Amount, AccPeriodMonth, AccPeriodYearID)
    VALUES (p_company, p_supplier, new_id, k_document, p_document_number, p_document_date,
            total, p_month, p_year_key)
    RETURNING ID INTO new_document;
  END IF;

  -- What the audit row will say, in the poster's name, once the voucher
  -- has its number.
  INSERT INTO PostingsToFinish (GRVID, CompanyID, At, UserName, Client, Details)
  VALUES (new_id, p_company, localtimestamp(0), session_user,
          COALESCE(host(inet_client_addr()), 'local socket'),
          line_count || CASE WHEN line_count = 1 THEN ' line' ELSE ' lines' END || ', total '
          || to_char(round(total, 2), 'FM999,999,999,999,999,990.00') || ', to '
          || kvt_period_name(p_month, p_year_key)
          || CASE WHEN p_with_document THEN ', supplier document ' || p_document_number
                  ELSE '' END);

  posted_id := new_id;
  posted_number := NULL;
  document_id := new_document;
  RETURN NEXT;
END
$$;

-- Records a sale of consignment stock off the consignment line `p_line`:
-- the line sells more and has less left (and carries the sale's date),
-- the consignment stock falls by a movement, and the audit trail says so.
CREATE OR REPLACE FUNCTION kvt_sell_consignment(p_company integer, p_line integer,
                                                p_qty double precision, p_date date,
                                                p_user integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  voucher_id integer;
  voucher_label text;
  refusal text;
BEGIN
  PERFORM kvt_require_posting(p_company, NULL, NULL);
  SELECT g.ID, 'voucher ' || g.VoucherNumber INTO voucher_id, voucher_label
    FROM GRVDetails gd JOIN GRVs g ON g.ID = gd.GRVID
   WHERE gd.ID = p_line AND g.TranTypeID = 31 AND g.CompanyID = p_company
     AND kvt_company_is_mine(p_company);
  IF NOT FOUND THEN
    PERFORM kvt_refuse_posting('Line ' || COALESCE(p_line::text, '')
                               || ' is not a consignment line of the company.');
  END IF;
  refusal := kvt_qty_refusal('The sale', p_qty);
  IF refusal IS NULL THEN
    SELECT kvt_draw_refusal('sell', 'The sale', voucher_label, TRUE, 0, gd.ProductID, p.Code,
                            p.Description, p_qty, COALESCE(gd.Qty, 0),
                            COALESCE(gd.QtyReturned, 0), COALESCE(gd.QtySold, 0),
                            COALESCE(gd.QtyLeft, 0),
                            COALESCE(gd.QtyLeft >= p_qty - 0.0000005, FALSE))
      INTO refusal
      FROM GRVDetails gd LEFT JOIN Products p ON p.ID = gd.ProductID
     WHERE gd.ID = p_line
       FOR NO KEY UPDATE OF gd;
  END IF;
  IF refusal IS NOT NULL THEN
    PERFORM kvt_refuse_posting(refusal);
  END IF;
  UPDATE GRVDetails SET QtySold = COALESCE(QtySold, 0) + p_qty, QtyLeft = QtyLeft - p_qty,
                        SoldOn = p_date
   WHERE ID = p_line;
  INSERT INTO StockMovements (CompanyID, ProductID, Consignment, Qty, MovementType, GRVID,
                              GRVDetailID, MovementDate, UserID)
  SELECT p_company, gd.ProductID, TRUE, -p_qty, 1, gd.GRVID, gd.ID, p_date, NULLIF(p_user, 0)
    FROM GRVDetails gd WHERE gd.ID = p_line;
  UPDATE Products SET ConsignmentStock = ConsignmentStock - p_qty
   WHERE ID = (SELECT gd.ProductID FROM GRVDetails gd WHERE gd.ID = p_line);
  INSERT INTO AuditTrail (At, UserName, CompanyID, Action, Document, Details)
  VALUES (localtimestamp(0), session_user, p_company, 'consignment sold', voucher_label,
          'line ' || p_line || ', qty ' || kvt_qty_text(p_qty));
END
$$;

-- Finishes every posting of `p_company` committed but not yet numbered,
-- in the order they were posted: each takes the next number of its
-- series, without gaps, the products' stock figures take its movements,
-- and its audit row is written in its poster's name. One finisher per
-- company at a time; under load one call finishes what many clerks
-- committed meanwhile, so they commit once between them. A posting left
-- unfinished (its poster gone after the commit) is finished by the next.
CREATE OR REPLACE FUNCTION kvt_finish_postings(p_company integer) RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  waiting integer[];
BEGIN
  IF NOT kvt_company_is_mine(p_company) THEN
    RETURN;
  END IF;
  PERFORM pg_advisory_xact_lock(4937301, p_company);
  SELECT array_agg(ID ORDER BY ID) INTO waiting FROM GRVs
   WHERE CompanyID = p_company AND VoucherNumber LIKE '~%';
  IF waiting IS NULL THEN
    RETURN;
  END IF;
  UPDATE GRVs g SET VoucherNumber = kvt_voucher_number_after(w.prefix, (
           SELECT l.VoucherNumber FROM GRVs l
            WHERE l.CompanyID = p_company AND substr(l.VoucherNumber, 1, 3) = w.prefix
            ORDER BY length(l.VoucherNumber) DESC, l.VoucherNumber DESC LIMIT 1), w.step)
    FROM (SELECT v.ID, k.prefix,
                 row_number() OVER (PARTITION BY k.prefix ORDER BY v.ID) AS step
            FROM GRVs v
            JOIN (VALUES (19, 'GRV'), (20, 'GRN'), (31, 'CRV'), (32, 'CRN'))
                 AS k(tran_type, prefix) ON k.tran_type = v.TranTypeID
           WHERE v.ID = ANY (waiting)) AS w
   WHERE g.ID = w.ID;

  -- The stock of the postings made here (the host's own statements move
  -- it themselves), the products in key order.
  PERFORM 1 FROM Products
    WHERE ID IN (SELECT m.ProductID FROM StockMovements m JOIN PostingsToFinish f
                   ON f.GRVID = m.GRVID WHERE m.GRVID = ANY (waiting))
    ORDER BY ID FOR NO KEY UPDATE;
  UPDATE Products pr
     SET StockOnHand = COALESCE(pr.StockOnHand, 0) + s.owned,
         ConsignmentStock = COALESCE(pr.ConsignmentStock, 0) + s.consigned
    FROM (SELECT m.ProductID, sum(CASE WHEN m.Consignment THEN 0 ELSE m.Qty END) AS owned,
                 sum(CASE WHEN m.Consignment THEN m.Qty ELSE 0 END) AS consigned
            FROM StockMovements m JOIN PostingsToFinish f ON f.GRVID = m.GRVID
           WHERE m.GRVID = ANY (waiting) GROUP BY m.ProductID) AS s
   WHERE pr.ID = s.ProductID;

  -- The audit rows say who posted, when and from where, not who finished.
  PERFORM set_config('kvt.server_log', 'on', true);
  INSERT INTO AuditTrail (At, UserName, Client, CompanyID, Action, Document, Details)
  SELECT f.At, f.UserName, f.Client, f.CompanyID, 'voucher posted', 'voucher ' || g.VoucherNumber,
         f.Details
    FROM PostingsToFinish f JOIN GRVs g ON g.ID = f.GRVID
   WHERE f.GRVID = ANY (waiting) ORDER BY f.GRVID;
  PERFORM set_config('kvt.server_log', '', true);
  DELETE FROM PostingsToFinish WHERE GRVID = ANY (waiting);
END
$$;

-- The number of voucher `p_voucher`, its posting finished first if it
-- was not yet (by this call, or by another poster's a moment before).
CREATE OR REPLACE FUNCTION kvt_voucher_number(p_voucher integer) RETURNS text
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  company integer;
  number text;
BEGIN
  SELECT CompanyID, VoucherNumber INTO company, number FROM GRVs
   WHERE ID = p_voucher AND kvt_company_is_mine(CompanyID);
  IF number LIKE '~%' THEN
    PERFORM kvt_finish_postings(company);
    SELECT VoucherNumber INTO number FROM GRVs WHERE ID = p_voucher;
  END IF;
  RETURN number;
END
$$;

-- Every SECURITY DEFINER function above looks only in this schema.
DO $$
DECLARE
  definer record;
BEGIN
  FOR definer IN
    SELECT p.oid::regprocedure AS signature FROM pg_proc p
     WHERE p.pronamespace = current_schema()::regnamespace AND p.prosecdef
       AND p.proname IN ('kvt_require_posting', 'kvt_company_is_mine', 'kvt_post_voucher',
                         'kvt_sell_consignment', 'kvt_finish_postings', 'kvt_voucher_number',
                         -- access_functions_postgres.sql's, run with these
                         'kvt_unbound', 'kvt_has_role', 'kvt_my_companies')
  LOOP
    EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', definer.signature,
                   current_schema());
  END LOOP;
END
$$;

-- Clerks and accountants write vouchers, received quantities, stock and
-- supplier documents only through the functions above: what their
-- logins held for the host's own statements is taken back (a database
-- an earlier build made included), so psql reads but cannot write them.
REVOKE INSERT ON GRVs, GRVDetails, StockMovements, SupplierDocuments
  FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (VoucherNumber) ON GRVs FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (QtyReturned, QtySold, QtyLeft, SoldOn) ON GRVDetails
  FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (StockOnHand, ConsignmentStock) ON Products FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (QtyReceived) ON PurchaseOrderDetails FROM kvt_clerk, kvt_accountant;
-- They were only for locking the rows a posting checks.
REVOKE UPDATE (RowVersion) ON PurchaseOrders FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (Name) ON Companies FROM kvt_clerk, kvt_accountant;
REVOKE UPDATE (Name) ON Suppliers FROM kvt_clerk, kvt_accountant;
