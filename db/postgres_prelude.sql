-- What the shared schema and data scripts need from a PostgreSQL server
-- beyond the rewrites of platform/data/postgres_dialect.h. Run first, in the
-- schema the tables go to.

-- Names compared without regard to case, as SQLite's NOCASE does.
CREATE COLLATION nocase (provider = icu, locale = 'und-u-ks-level2',
                         deterministic = false);

-- Money: four decimals, the range of the fixed-point amount type. Result
-- columns of a domain arrive as its base type, numeric, which record sets
-- read as Currency.
CREATE DOMAIN currency AS numeric(19, 4);
CREATE DOMAIN datetime AS timestamp(0) without time zone;

-- SQLite rounds doubles too; the server rounds only numerics.
CREATE FUNCTION round(value double precision, digits integer) RETURNS numeric
  LANGUAGE sql IMMUTABLE STRICT
  AS 'SELECT round(value::numeric, digits)';
