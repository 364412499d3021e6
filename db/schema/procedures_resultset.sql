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
RETURNS TABLE (
  "CodUsuario" integer, "UName" varchar, "UserName" varchar, "CodPerfil" integer,
  "DES_PERFIL" varchar, "Clave" varchar, "FecExpiracion" timestamp, "Address1" varchar,
  "Address2" varchar, "Address3" varchar, "Phone1" varchar, "Phone2" varchar, "Phone3" varchar,
  "Ext" varchar, "Fax" varchar, "Mobil" varchar, "EMail" varchar, "CodJefeInm" integer,
  "DES_JEFEINMEDATO" varchar, "UsuaComments" varchar, "ULA" integer, "Nivel" integer,
  "USER_ACTIVE" integer, "USER_BIRTHDATE" timestamp, "USER_IMAGE" varchar,
  "USER_LANGUAGE" varchar, "PROFILEID" integer, "identity_type" varchar, "ROL1" integer,
  "ROL2" integer, "CodDepto" varchar, "DES_DEPARTAMENTO" varchar, "NUMBERDEPID" varchar,
  "DES_NUMBERDEP" varchar, "COUNTRYID" varchar, "DES_COUNTRY" varchar, "CITYID" varchar,
  "DES_CITY" varchar, "SITEID" varchar, "DES_SITE" varchar, "BUILDINGID" varchar,
  "DES_BUILDING" varchar, "FLOORID" varchar, "DES_FLOOR" varchar, "COMPANYID" varchar,
  "DES_COMPANY" varchar, "Cha_id" varchar, "DES_CARGO" varchar, "USS_ID" varchar,
  "DES_USER_STATUS" varchar)
LANGUAGE sql STABLE AS $$
  SELECT * FROM clavira_users("@i_operation", "@i_option", "@i_codusuario", "@i_language")
$$;
