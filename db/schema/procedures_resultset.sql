-- The procedures in the shape the SQL Server engine reads on PostgreSQL:
-- functions whose rows come back as the call's result set, with parameter
-- names as SQL Server describes them ("@i_user"). Load after tables.sql, into
-- a database of its own (the other shape uses the same names).
CREATE FUNCTION "PRC_VKT_AUTHENTICATION"("@i_operation" varchar, "@i_option" varchar,
                                         "@i_user" varchar, "@i_password" varchar,
                                         "@i_id" integer)
RETURNS TABLE ("CodUsuario" integer, "PATH" varchar, "USER_STRING" varchar, "SECURITY" integer)
LANGUAGE sql STABLE AS $$
  SELECT * FROM clavira_authentication("@i_operation", "@i_option", "@i_user", "@i_password",
                                       "@i_id")
$$;

CREATE FUNCTION "PRC_USERS"("@i_operation" varchar, "@i_option" varchar,
                            "@i_codusuario" integer, "@i_language" integer)
RETURNS SETOF clavira_user_row
LANGUAGE sql STABLE AS $$
  SELECT * FROM clavira_users("@i_operation", "@i_option", "@i_codusuario", "@i_language")
$$;
