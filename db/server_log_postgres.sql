-- What the server refused outside any transaction of ours, folded into the
-- audit trail. Run after login_locks_postgres.sql, by the schema's owner, in
-- the schema the tables are in; a database an earlier build made gets it
-- when the host opens it.
--
-- A statement the server refuses rolls back with its transaction, audit
-- row and all, and a wrong password has no session at all: what remains of
-- either is the server's own log line, which names the login, the time and
-- the client. So the server writes its log as JSON lines
-- (log_destination=jsonlog, logging_collector=on, log_min_error_statement
-- at error or below), and kvt_read_server_log folds into the audit trail
-- what it has not folded yet: every refusal of a login of this database
-- (SQLSTATE 42501: a missing grant, row security, our triggers) with its
-- statement, and every failed password, which counts toward the lock of
-- login_locks_postgres.sql as a failure through the host does. The log
-- never holds a password typed at a login; a refused statement about roles
-- or passwords is recorded without its text.
--
-- The owner reads the log through pg_ls_logdir, pg_stat_file and
-- pg_read_binary_file, so it must be a superuser, or hold pg_monitor and
-- pg_read_server_files with EXECUTE on pg_read_binary_file granted; on a
-- server that does not log so, or to an owner who may not read it, nothing
-- is folded and everything else works on. The log's file names must sort
-- in the order they were written (the default log_filename does). The log
-- is read when the audit trail is read, when the users are listed and when
-- the login gate is asked, so a login guessed at through another client is
-- locked from the next of those on.

-- How far the log has been read: one row.
CREATE TABLE IF NOT EXISTS ServerLogReading (
  LogFile  text,
  Position bigint NOT NULL
);
-- Marks a reader wrote into the log to know when it has read all up to
-- them (another reader may fold them first); kept a minute.
CREATE TABLE IF NOT EXISTS ServerLogMarks (
  Mark text PRIMARY KEY,
  At   timestamp NOT NULL
);
-- The host's own refused rows that a log line was matched with, so that a
-- refusal the host recorded is not recorded twice and one row stands for
-- one line only.
CREATE TABLE IF NOT EXISTS ServerLogMatched (
  AuditID integer PRIMARY KEY
);
REVOKE ALL ON ServerLogReading, ServerLogMarks, ServerLogMatched FROM PUBLIC;

-- Reading starts where the log is now: what was refused before this
-- database could record it belongs to nobody's trail.
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM ServerLogReading) THEN
    INSERT INTO ServerLogReading VALUES (NULL, 0);
    BEGIN
      UPDATE ServerLogReading SET LogFile = f.name, Position = f.size
        FROM (SELECT name, size FROM pg_ls_logdir() WHERE name LIKE '%.json'
               ORDER BY name DESC LIMIT 1) f;
    EXCEPTION WHEN insufficient_privilege OR undefined_file OR undefined_function THEN
      NULL;  -- read from the first log there is, once it may be read
    END;
  END IF;
END
$$;

-- Trigger: the audit trail says itself who, when and from where, so a row
-- cannot be written in another login's name; a row folded from the
-- server's log says what the log says, and only our own functions
-- (running as the schema's owner) fold.
CREATE OR REPLACE FUNCTION kvt_stamp_audit_row() RETURNS trigger
LANGUAGE plpgsql SET search_path = pg_catalog, pg_temp AS $$
BEGIN
  IF current_setting('kvt.server_log', true) = 'on'
     AND pg_has_role(current_user, (SELECT nspowner FROM pg_namespace
                                     WHERE nspname = TG_TABLE_SCHEMA), 'MEMBER') THEN
    RETURN NEW;
  END IF;
  NEW.At := localtimestamp(0);
  NEW.UserName := session_user;
  NEW.Client := COALESCE(host(inet_client_addr()), 'local socket');
  RETURN NEW;
END
$$;

CREATE OR REPLACE TRIGGER AuditTrail_Stamp BEFORE INSERT ON AuditTrail
  FOR EACH ROW EXECUTE FUNCTION kvt_stamp_audit_row();

-- A refused statement as the trail shows it: on one line, cut short, and
-- nothing of one about logins or passwords.
CREATE OR REPLACE FUNCTION kvt_statement_shown(statement text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT CASE
    WHEN statement IS NULL THEN NULL
    WHEN statement ~* '(passw|\m(role|user)\M|scram-sha|\mverifier)'
      THEN 'a statement about logins or passwords (not kept)'
    ELSE left(regexp_replace(btrim(statement), '\s+', ' ', 'g'), 300)
  END
$$;

-- The table a refused INSERT, UPDATE or DELETE went to ("table grvs").
CREATE OR REPLACE FUNCTION kvt_statement_target(statement text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
  SELECT 'table ' || lower(replace((regexp_match(statement,
    '^\s*(?:insert\s+into|update|delete\s+from)\s+("?[A-Za-z_][A-Za-z_0-9.]*"?)', 'i'))[1],
    '"', ''))
$$;

-- One refusal the log reports, unless the host recorded it itself (its
-- row's details end in "<what it did>: <the server's words>").
CREATE OR REPLACE FUNCTION kvt_fold_refusal(entry jsonb, refused_at timestamp, client text)
RETURNS void
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  who constant text := entry->>'user';
  why constant text := entry->>'message';
  recorded integer;
BEGIN
  SELECT a.ID INTO recorded FROM AuditTrail a
   WHERE a.Action = 'refused' AND a.UserName = who
     AND a.At BETWEEN refused_at - interval '1 second' AND refused_at + interval '10 seconds'
     AND a.Details LIKE '%: ' || replace(replace(replace(why, '\', '\\'), '%', '\%'), '_', '\_')
     AND NOT EXISTS (SELECT 1 FROM ServerLogMatched m WHERE m.AuditID = a.ID)
   ORDER BY a.ID LIMIT 1;
  IF FOUND THEN
    INSERT INTO ServerLogMatched VALUES (recorded);
    RETURN;
  END IF;
  INSERT INTO AuditTrail (At, UserName, Client, Action, Document, Details)
    VALUES (refused_at, who, client, 'refused', kvt_statement_target(entry->>'statement'),
            why || COALESCE(' Statement: ' || kvt_statement_shown(entry->>'statement'), ''));
END
$$;

-- Folds the log from where the last reader stopped to its end; true when
-- it passed `own_mark` (now or before, by another reader).
CREATE OR REPLACE FUNCTION kvt_fold_server_log(own_mark text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  chunk_bytes constant integer := 8 * 1024 * 1024;
  folder constant text := current_setting('log_directory');
  reading ServerLogReading%ROWTYPE;
  log_name text;
  path text;
  size bigint;
  chunk bytea;
  whole integer;
  skipping boolean := FALSE;
  line text;
  entry jsonb;
  who text;
  logged_at timestamp;
  client text;
  passed boolean;
BEGIN
  SELECT * INTO reading FROM ServerLogReading FOR UPDATE;
  PERFORM set_config('kvt.server_log', 'on', true);
  FOR log_name IN
    SELECT name FROM pg_ls_logdir()
     WHERE name LIKE '%.json' AND (reading.LogFile IS NULL OR name >= reading.LogFile)
     ORDER BY name
  LOOP
    IF log_name IS DISTINCT FROM reading.LogFile THEN
      reading.LogFile := log_name;
      reading.Position := 0;
    END IF;
    path := folder || '/' || log_name;
    size := (pg_stat_file(path, true)).size;
    CONTINUE WHEN size IS NULL;  -- removed meanwhile
    IF size < reading.Position THEN
      reading.Position := 0;  -- emptied at rotation and written afresh
    END IF;
    WHILE reading.Position < size LOOP
      chunk := pg_read_binary_file(path, reading.Position,
                                   least(size - reading.Position, chunk_bytes), true);
      EXIT WHEN chunk IS NULL OR length(chunk) = 0;
      -- Whole lines only; the rest is read once it is written.
      whole := length(chunk);
      WHILE whole > 0 AND get_byte(chunk, whole - 1) <> 10 LOOP
        whole := whole - 1;
      END LOOP;
      IF whole = 0 THEN
        EXIT WHEN length(chunk) < chunk_bytes;
        -- A line longer than a chunk is passed over.
        reading.Position := reading.Position + length(chunk);
        skipping := TRUE;
        CONTINUE;
      END IF;
      FOR line IN
        SELECT unnest(string_to_array(convert_from(substring(chunk FROM 1 FOR whole - 1),
                                                   'UTF8'), E'\n'))
      LOOP
        IF skipping THEN
          skipping := FALSE;
          CONTINUE;
        END IF;
        -- Only what a refusal, a failed password or a mark can be is parsed.
        CONTINUE WHEN left(line, 1) <> '{' OR (position('42501' IN line) = 0
          AND position('28P01' IN line) = 0 AND position('kvt log read ' IN line) = 0);
        entry := line::jsonb;
        IF entry->>'message' LIKE 'kvt log read %' THEN
          INSERT INTO ServerLogMarks VALUES (entry->>'message', localtimestamp)
            ON CONFLICT DO NOTHING;
          CONTINUE;
        END IF;
        who := entry->>'user';
        CONTINUE WHEN who IS NULL OR NOT EXISTS (SELECT 1 FROM UserCompanies
                                                 WHERE UserName = who);
        logged_at := ((entry->>'timestamp')::timestamptz
               AT TIME ZONE current_setting('TimeZone'))::timestamp(0);
        client := COALESCE(NULLIF(entry->>'remote_host', '[local]'), 'local socket');
        IF entry->>'error_severity' = 'FATAL' AND entry->>'state_code' = '28P01' THEN
          -- Whatever database the guess named: the login is the server's.
          PERFORM kvt_count_login_failure(who, logged_at, client);
        ELSIF entry->>'error_severity' = 'ERROR' AND entry->>'state_code' = '42501'
              AND entry->>'dbname' = current_database() THEN
          PERFORM kvt_fold_refusal(entry, logged_at, client);
        END IF;
      END LOOP;
      reading.Position := reading.Position + whole;
    END LOOP;
  END LOOP;
  UPDATE ServerLogReading SET LogFile = reading.LogFile, Position = reading.Position;
  PERFORM set_config('kvt.server_log', '', true);
  passed := EXISTS (SELECT 1 FROM ServerLogMarks WHERE Mark = own_mark);
  DELETE FROM ServerLogMarks WHERE Mark = own_mark OR At < localtimestamp - interval '1 minute';
  RETURN passed;
END
$$;

-- Folds what the server has logged up to now into the audit trail; true
-- when it did, false when this server's log cannot be read so.
CREATE OR REPLACE FUNCTION kvt_read_server_log() RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  -- The log reaches the file a moment after it is written: a line of our
  -- own, written now, says when everything before it is there.
  mark constant text := 'kvt log read ' || md5(random()::text || clock_timestamp()::text);
  patience constant integer := 100;  -- times 20 ms
BEGIN
  IF pg_current_logfile('jsonlog') IS NULL
     OR current_setting('log_min_messages') IN ('fatal', 'panic') THEN
    RETURN FALSE;
  END IF;
  RAISE LOG '%', mark;
  FOR attempt IN 1..patience LOOP
    IF kvt_fold_server_log(mark) THEN
      RETURN TRUE;
    END IF;
    PERFORM pg_sleep(0.02);
  END LOOP;
  RETURN FALSE;
EXCEPTION
  WHEN insufficient_privilege OR undefined_file OR read_only_sql_transaction
       OR character_not_in_repertoire THEN
    RETURN FALSE;
END
$$;

REVOKE EXECUTE ON FUNCTION kvt_fold_refusal(jsonb, timestamp, text), kvt_fold_server_log(text),
  kvt_read_server_log() FROM PUBLIC;
GRANT EXECUTE ON FUNCTION kvt_read_server_log()
  TO kvt_buyer, kvt_clerk, kvt_accountant, kvt_admin, kvt_reader, kvt_gate;

DO $$
DECLARE
  definer text;
BEGIN
  FOREACH definer IN ARRAY ARRAY['kvt_fold_refusal(jsonb, timestamp, text)',
      'kvt_fold_server_log(text)', 'kvt_read_server_log()'] LOOP
    EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', definer,
                   current_schema());
  END LOOP;
END
$$;
