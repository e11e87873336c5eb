-- Logins that resist guessing, on a server. Run after access_postgres.sql,
-- by the schema's owner (who needs CREATEROLE), in the schema the tables
-- are in; a database an earlier build made gets it when the host opens it.
--
-- A refused login has no session of its own to record it, so the host
-- reports it through the login gate: kvt_gate, a login role that may do
-- nothing but call kvt_login_open and kvt_login_failed. Its password lives
-- only in the libpq password file of the machines the desks run on
-- (PGPASSFILE or ~/.pgpass), never on a command line. The lock itself is
-- the server's: a locked login's password is made to have expired (VALID
-- UNTIL in the past), so the server turns down every password for it, the
-- right one included, from any client, with the same answer as a wrong
-- one (NOLOGIN would tell a right password apart). Policy: a login is
-- slowed down from its 3rd failure in a row (one second more for each),
-- and after the 5th it is locked for 15 minutes; failures more than 15
-- minutes old are forgotten. A lock that has run out is lifted at the next
-- try through the host, or by an administrator (kvt_unlock_user).

DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'kvt_gate') THEN
    CREATE ROLE kvt_gate NOLOGIN;
  END IF;
EXCEPTION WHEN duplicate_object OR unique_violation THEN
  NULL;  -- another database's build made it meanwhile
END
$$;

-- One row per login of this database that failed lately or is locked.
CREATE TABLE IF NOT EXISTS LoginLocks (
  UserName    text PRIMARY KEY,
  Failures    integer NOT NULL,
  LastFailure timestamp NOT NULL,
  LockedUntil timestamp,
  -- The login's own VALID UNTIL before the lock (NULL: it had none).
  ValidBefore timestamptz
);
REVOKE ALL ON LoginLocks FROM PUBLIC;
GRANT SELECT ON LoginLocks TO kvt_admin;

-- Lifts the lock and forgets the failures of `login`; true when it was
-- locked.
CREATE OR REPLACE FUNCTION kvt_reopen_login(login text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  ended LoginLocks%ROWTYPE;
BEGIN
  DELETE FROM LoginLocks WHERE UserName = login RETURNING * INTO ended;
  IF ended.LockedUntil IS NULL THEN
    RETURN FALSE;
  END IF;
  EXECUTE format('ALTER ROLE %I VALID UNTIL %L', login,
                 COALESCE(ended.ValidBefore::text, 'infinity'));
  RETURN TRUE;
END
$$;

-- The gate, before a login is tried: when `login` is locked, until when
-- (NULL when it is not); a lock that has run out is lifted here.
CREATE OR REPLACE FUNCTION kvt_login_open(login text) RETURNS timestamp
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  ends timestamp;
BEGIN
  PERFORM kvt_server_log_read();  -- a login guessed at elsewhere is locked by now
  SELECT LockedUntil INTO ends FROM LoginLocks WHERE UserName = login FOR UPDATE;
  IF ends IS NOT NULL AND ends <= localtimestamp THEN
    PERFORM kvt_reopen_login(login);
    INSERT INTO AuditTrail (At, UserName, Action, Document, Details)
      VALUES (localtimestamp, '', 'login unlocked', 'user ' || login, 'the lock ran out');
    RETURN NULL;
  END IF;
  RETURN ends;
END
$$;

-- Counts a failure of `login` at `failed_at` from `client` (NULL: the caller's),
-- audits it and locks at the 5th. Returns the failures in a row and, once
-- locked, until when. A failure the server's log reports late counts at
-- its own time, so it neither revives forgotten failures nor locks for
-- longer than from then.
CREATE OR REPLACE FUNCTION kvt_count_login_failure(login text, failed_at timestamp, client text,
                                                   OUT failed integer,
                                                   OUT locked_until timestamp)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  forget constant interval := interval '15 minutes';
  lock_for constant interval := interval '15 minutes';
  lock_at constant integer := 5;
  valid timestamptz;
BEGIN
  INSERT INTO LoginLocks AS l (UserName, Failures, LastFailure)
    VALUES (login, 1, failed_at)
  ON CONFLICT (UserName) DO UPDATE
    SET Failures = CASE WHEN l.LastFailure < failed_at - forget THEN 1
                        ELSE l.Failures + 1 END,
        LastFailure = greatest(l.LastFailure, failed_at)
    WHERE l.LockedUntil IS NULL
  RETURNING l.Failures INTO failed;
  IF NOT FOUND THEN  -- locked already
    SELECT l.Failures, l.LockedUntil INTO failed, locked_until
      FROM LoginLocks l WHERE UserName = login;
    RETURN;
  END IF;
  INSERT INTO AuditTrail (At, UserName, Client, Action, Document, Details)
    VALUES (failed_at, login, client, 'login failed', 'user ' || login,
            format('failed login %s in a row', failed));
  IF failed >= lock_at AND failed_at + lock_for > localtimestamp THEN
    SELECT rolvaliduntil INTO valid FROM pg_roles WHERE rolname = login;
    locked_until := failed_at::timestamp(0) + lock_for;
    UPDATE LoginLocks SET LockedUntil = locked_until, ValidBefore = valid
     WHERE UserName = login;
    EXECUTE format('ALTER ROLE %I VALID UNTIL %L', login, '2000-01-01 00:00:00+00');
    INSERT INTO AuditTrail (At, UserName, Client, Action, Document, Details)
      VALUES (failed_at, login, client, 'login locked', 'user ' || login,
              format('after %s failed logins in a row, until %s', failed,
                     to_char(locked_until, 'YYYY-MM-DD HH24:MI')));
  END IF;
END
$$;

-- The gate, after the server refused `login`: counts the failure, audits
-- it, slows down from the 3rd and locks at the 5th. Returns the failures
-- in a row and, once locked, until when. A name that is no user of this
-- database is audited and not counted. Where the server's log is read,
-- the failure is counted from its line there, as one through any other
-- client is (db/server_log_postgres.sql).
CREATE OR REPLACE FUNCTION kvt_login_failed(login text,
                                            OUT failed integer, OUT locked_until timestamp)
LANGUAGE plpgsql SECURITY DEFINER AS $$
DECLARE
  slow_from constant integer := 3;
BEGIN
  failed := 0;
  IF NOT EXISTS (SELECT 1 FROM UserCompanies WHERE UserName = login)
     OR EXISTS (SELECT 1 FROM pg_roles WHERE rolname = login AND rolsuper) THEN
    INSERT INTO AuditTrail (At, UserName, Action, Document, Details)
      VALUES (localtimestamp, '', 'login failed', 'user ' || login, 'no such user');
    RETURN;
  END IF;
  IF kvt_server_log_read() THEN
    SELECT l.Failures, l.LockedUntil INTO failed, locked_until
      FROM LoginLocks l WHERE UserName = login;
    failed := COALESCE(failed, 0);
  ELSE
    SELECT c.failed, c.locked_until INTO failed, locked_until
      FROM kvt_count_login_failure(login, localtimestamp, NULL) c;
  END IF;
  IF locked_until IS NULL AND failed >= slow_from THEN
    PERFORM pg_sleep(failed - slow_from + 1);
  END IF;
END
$$;

-- The server's log folded up to now, when this database reads it (false
-- for a database an earlier build made without it).
CREATE OR REPLACE FUNCTION kvt_server_log_read() RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  RETURN kvt_read_server_log();
EXCEPTION WHEN undefined_function THEN
  RETURN FALSE;
END
$$;

-- A login that got in starts counting afresh (a lock stays until lifted);
-- its failures the log holds are counted first, not after.
CREATE OR REPLACE FUNCTION kvt_login_succeeded() RETURNS void
LANGUAGE sql SECURITY DEFINER AS $$
  SELECT kvt_server_log_read();
  DELETE FROM LoginLocks WHERE UserName = session_user AND LockedUntil IS NULL
$$;

-- An administrator lifts the lock of `login`; true when it was locked.
CREATE OR REPLACE FUNCTION kvt_unlock_user(login text) RETURNS boolean
LANGUAGE plpgsql SECURITY DEFINER AS $$
BEGIN
  PERFORM kvt_require_admin();
  PERFORM kvt_require_user(login);
  -- Passwords tried while it was locked count against the lock, not after.
  PERFORM kvt_server_log_read();
  RETURN kvt_reopen_login(login);
END
$$;

REVOKE EXECUTE ON FUNCTION kvt_reopen_login(text), kvt_login_open(text),
  kvt_login_failed(text), kvt_count_login_failure(text, timestamp, text),
  kvt_server_log_read() FROM PUBLIC;
GRANT EXECUTE ON FUNCTION kvt_login_open(text), kvt_login_failed(text) TO kvt_gate;

DO $$
DECLARE
  definer text;
BEGIN
  EXECUTE format('GRANT USAGE ON SCHEMA %I TO kvt_gate', current_schema());
  -- These definers look only in this schema, as the others do.
  FOREACH definer IN ARRAY ARRAY['kvt_reopen_login(text)', 'kvt_login_open(text)',
      'kvt_login_failed(text)', 'kvt_count_login_failure(text, timestamp, text)',
      'kvt_server_log_read()', 'kvt_login_succeeded()', 'kvt_unlock_user(text)'] LOOP
    EXECUTE format('ALTER FUNCTION %s SET search_path = %I, pg_temp', definer,
                   current_schema());
  END LOOP;
END
$$;
