-- Run last on PostgreSQL: the scripts give their own IDs, so each identity
-- column continues after the highest ID in its table.
DO $$
DECLARE
  col record;
BEGIN
  FOR col IN
    SELECT table_name, column_name FROM information_schema.columns
     WHERE table_schema = current_schema() AND is_identity = 'YES'
  LOOP
    EXECUTE format(
      'SELECT setval(pg_get_serial_sequence(%L, %L), COALESCE(MAX(%I), 0) + 1, false) FROM %I',
      quote_ident(col.table_name), col.column_name, col.column_name,
      col.table_name);
  END LOOP;
END
$$;
