-- Who the login is, and the periods' order: asked in every posting, by
-- the voucher triggers and by the policy on every company's rows. In
-- PL/pgSQL their plans are kept for the session; as SQL functions (an
-- earlier build's) each call parsed and planned the body again, a tenth
-- of a posting's time on a server. Run before access_postgres.sql, and
-- again with the posting functions on a database an earlier build made;
-- each of those then confines the definers here to this schema (a replaced
-- function loses its settings).

-- The login is a superuser or owns this schema: held to no role.
CREATE OR REPLACE FUNCTION kvt_unbound() RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
BEGIN
  RETURN EXISTS (SELECT 1 FROM pg_roles WHERE rolname = session_user AND rolsuper)
      OR EXISTS (SELECT 1 FROM pg_namespace
                  WHERE nspname = current_schema()
                    AND pg_has_role(session_user, nspowner, 'MEMBER'));
END
$$;

-- The login holds `wanted` (buyer, clerk, accountant, admin, reader).
CREATE OR REPLACE FUNCTION kvt_has_role(wanted text) RETURNS boolean
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
BEGIN
  RETURN kvt_unbound() OR pg_has_role(session_user, 'kvt_' || wanted, 'MEMBER');
END
$$;

CREATE OR REPLACE FUNCTION kvt_my_companies() RETURNS integer[]
LANGUAGE plpgsql STABLE SECURITY DEFINER AS $$
BEGIN
  RETURN (SELECT COALESCE(array_agg(CompanyID), '{}') FROM UserCompanies
           WHERE UserName = session_user);
END
$$;

-- A period as a number that sorts as periods do: year * 100 + month.
CREATE OR REPLACE FUNCTION kvt_period_order(month integer, year_key integer) RETURNS integer
LANGUAGE plpgsql STABLE AS $$
BEGIN
  RETURN (SELECT Years * 100 + month FROM Years WHERE ID = year_key);
END
$$;
