-- Test procedures. SQL Server shape: functions returning a table, parameter
-- names with "@". Oracle shape: functions returning a cursor.

CREATE FUNCTION "PRC_ECHO"("@i_text" varchar, "@i_number" integer, "@i_when" timestamp)
RETURNS TABLE("Text" varchar, "Number" integer, "When" timestamp, "Half" double precision,
              "Dup" integer, "dup" integer, "TextWasNull" boolean)
LANGUAGE sql AS $$
  SELECT "@i_text", "@i_number", "@i_when", "@i_number" / 2.0, 1, 2, "@i_text" IS NULL
  UNION ALL
  SELECT 'second', 2, timestamp '1900-01-01 00:00:00', 0.25, 3, 4, false
$$;

CREATE FUNCTION "PRC_NOPARAMS"() RETURNS TABLE("One" integer)
LANGUAGE sql AS $$ SELECT 1 $$;

CREATE FUNCTION "PRC_NOROWS"("@i_id" integer) RETURNS TABLE("Id" integer)
LANGUAGE sql AS $$ SELECT 1 WHERE false $$;

-- Created unquoted: stored in lower case.
CREATE FUNCTION prc_folded(i_id integer) RETURNS TABLE("Id" integer)
LANGUAGE sql AS $$ SELECT i_id $$;

-- "_" is a LIKE wildcard: "PRC_A_B" must not find "PRCXAXB".
CREATE FUNCTION "PRCXAXB"("@i_other" integer) RETURNS TABLE("X" integer)
LANGUAGE sql AS $$ SELECT 0 $$;
CREATE FUNCTION "PRC_A_B"("@i_right" integer) RETURNS TABLE("X" integer)
LANGUAGE sql AS $$ SELECT "@i_right" $$;

CREATE FUNCTION "PRC_INOUT"("@i_a" integer, INOUT "@io_b" integer, OUT "@o_c" varchar)
LANGUAGE sql AS $$ SELECT "@io_b" + "@i_a", 'c' || "@i_a" $$;

CREATE FUNCTION "PRC_ORA_USERS"(i_operation varchar, i_id integer, i_note varchar)
RETURNS refcursor LANGUAGE plpgsql AS $$
DECLARE c refcursor;
BEGIN
  OPEN c FOR
    SELECT i_operation AS "OPERATION", i_id AS "ID", i_note AS "NOTE",
           pg_typeof(i_id)::text AS "ID_TYPE"
    FROM generate_series(1, CASE WHEN i_operation = 'none' THEN 0 ELSE 2 END);
  RETURN c;
END $$;

CREATE FUNCTION "PRC_ORA_CLOB"(i_id integer, i_doc text)
RETURNS refcursor LANGUAGE plpgsql AS $$
DECLARE c refcursor;
BEGIN
  OPEN c FOR SELECT length(i_doc) AS "LEN", i_doc AS "DOC", i_id AS "ID";
  RETURN c;
END $$;
