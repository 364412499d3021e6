-- The procedures in the shape the Oracle engine reads on PostgreSQL: each
-- returns a cursor over its rows, as an Oracle procedure hands rows back
-- through a cursor parameter. Load after tables.sql, into a database of its
-- own (the other shape uses the same names).
CREATE FUNCTION "PRC_VKT_AUTHENTICATION"(i_operation varchar, i_option varchar, i_user varchar,
                                         i_password varchar, i_id integer)
RETURNS refcursor LANGUAGE plpgsql AS $$
DECLARE
  c refcursor;
BEGIN
  OPEN c FOR SELECT * FROM clavira_authentication(i_operation, i_option, i_user, i_password, i_id);
  RETURN c;
END $$;

CREATE FUNCTION "PRC_USERS"(i_operation varchar, i_option varchar, i_codusuario integer,
                            i_language integer)
RETURNS refcursor LANGUAGE plpgsql AS $$
DECLARE
  c refcursor;
BEGIN
  OPEN c FOR SELECT * FROM clavira_users(i_operation, i_option, i_codusuario, i_language);
  RETURN c;
END $$;
