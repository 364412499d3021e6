-- Reference application database for Clavira on PostgreSQL: the tables and
-- the queries behind the stored procedures. Load it first, then one of
-- procedures_resultset.sql / procedures_refcursor.sql, then data (demo.sql).
--
-- Passwords ("clave") are stored as the shared runtime library's EncryptDB
-- writes them: lowercase hex HMAC-SHA-256 of the password under the
-- configured key (write them with `clavira-cli encrypt`).
-- Languages: 1 "Esp", 2 "Ing", 3 "Por".

CREATE TABLE profiles (
  cod_perfil integer PRIMARY KEY
);

CREATE TABLE profile_descriptions (
  cod_perfil  integer NOT NULL REFERENCES profiles ON DELETE CASCADE,
  language    integer NOT NULL,
  description varchar(200) NOT NULL,
  PRIMARY KEY (cod_perfil, language)
);

-- The ten code-and-description lookups of a user record, by kind:
-- department, numberdep, country, city, site, building, floor, company,
-- position, user_status.
CREATE TABLE lookups (
  kind varchar(20) NOT NULL CHECK (kind IN ('department', 'numberdep', 'country', 'city', 'site',
                                            'building', 'floor', 'company', 'position',
                                            'user_status')),
  code varchar(40) NOT NULL,
  PRIMARY KEY (kind, code)
);

CREATE TABLE lookup_descriptions (
  kind        varchar(20) NOT NULL,
  code        varchar(40) NOT NULL,
  language    integer NOT NULL,
  description varchar(200) NOT NULL,
  PRIMARY KEY (kind, code, language),
  FOREIGN KEY (kind, code) REFERENCES lookups ON DELETE CASCADE
);

CREATE TABLE users (
  cod_usuario    integer PRIMARY KEY,
  user_name      varchar(100) NOT NULL UNIQUE,   -- the login name
  uname          varchar(200),                   -- the full name
  cod_perfil     integer REFERENCES profiles,
  clave          varchar(128),                   -- EncryptDB of the password
  fec_expiracion timestamp,
  address1       varchar(200),
  address2       varchar(200),
  address3       varchar(200),
  phone1         varchar(40),
  phone2         varchar(40),
  phone3         varchar(40),
  ext            varchar(20),
  fax            varchar(40),
  mobil          varchar(40),
  email          varchar(200),
  cod_jefe_inm   integer REFERENCES users,
  usua_comments  varchar(1000),
  ula            integer,
  nivel          integer,
  user_active    integer NOT NULL DEFAULT 1,
  user_birthdate date,
  user_image     varchar(400),
  user_language  varchar(10),
  profileid      integer,
  identity_type  varchar(20),
  rol1           integer,
  rol2           integer,
  cod_depto      varchar(40),
  numberdep_id   varchar(40),
  country_id     varchar(40),
  city_id        varchar(40),
  site_id        varchar(40),
  building_id    varchar(40),
  floor_id       varchar(40),
  company_id     varchar(40),
  cha_id         varchar(40),
  uss_id         varchar(40)
);

-- Numbered security settings. All three columns null: users authenticate
-- against this database. Otherwise against the directory: "PATH" is the
-- directory path after "LDAP://", "USER_STRING" the bind name pattern
-- ("{0}" stands for the typed name), "SECURITY" the bind option code.
CREATE TABLE security_settings (
  id          integer PRIMARY KEY,
  path        varchar(400),
  user_string varchar(400),
  security    integer
);

-- Rows of "PRC_VKT_AUTHENTICATION" with i_operation "S": option "B" checks a
-- login name and encrypted password, "C" finds a login name, "E" reads the
-- security settings numbered i_id. Other operations and options are refused.
CREATE FUNCTION clavira_authentication(i_operation varchar, i_option varchar, i_user varchar,
                                       i_password varchar, i_id integer)
RETURNS TABLE ("CodUsuario" integer, "PATH" varchar, "USER_STRING" varchar, "SECURITY" integer)
LANGUAGE plpgsql STABLE AS $$
#variable_conflict use_column
BEGIN
  IF i_operation IS DISTINCT FROM 'S' THEN
    RAISE EXCEPTION 'PRC_VKT_AUTHENTICATION: unknown operation %', coalesce(i_operation, 'null');
  END IF;
  IF i_option = 'B' THEN
    RETURN QUERY SELECT u.cod_usuario, NULL::varchar, NULL::varchar, NULL::integer
      FROM users u WHERE u.user_name = i_user AND u.clave = i_password;
  ELSIF i_option = 'C' THEN
    RETURN QUERY SELECT u.cod_usuario, NULL::varchar, NULL::varchar, NULL::integer
      FROM users u WHERE u.user_name = i_user;
  ELSIF i_option = 'E' THEN
    RETURN QUERY SELECT NULL::integer, s.path, s.user_string, s.security
      FROM security_settings s WHERE s.id = i_id;
  ELSE
    RAISE EXCEPTION 'PRC_VKT_AUTHENTICATION: unknown option %', coalesce(i_option, 'null');
  END IF;
END $$;

-- Description of one lookup code in one language (null when there is none).
CREATE FUNCTION clavira_lookup(i_kind varchar, i_code varchar, i_language integer)
RETURNS varchar LANGUAGE sql STABLE AS $$
  SELECT description FROM lookup_descriptions
   WHERE kind = i_kind AND code = i_code AND language = i_language
$$;

-- The columns of a "PRC_USERS" row.
CREATE TYPE clavira_user_row AS (
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
  "DES_USER_STATUS" varchar);

-- Rows of "PRC_USERS" with i_operation "S" and option "C": the record of user
-- i_codusuario, descriptions in language i_language (1 when null).
CREATE FUNCTION clavira_users(i_operation varchar, i_option varchar, i_codusuario integer,
                              i_language integer)
RETURNS SETOF clavira_user_row
LANGUAGE plpgsql STABLE AS $$
#variable_conflict use_column
DECLARE
  lang integer := coalesce(i_language, 1);
BEGIN
  IF i_operation IS DISTINCT FROM 'S' OR i_option IS DISTINCT FROM 'C' THEN
    RAISE EXCEPTION 'PRC_USERS: unknown operation % or option %',
      coalesce(i_operation, 'null'), coalesce(i_option, 'null');
  END IF;
  RETURN QUERY
  SELECT u.cod_usuario, u.uname, u.user_name, u.cod_perfil,
         (SELECT d.description FROM profile_descriptions d
           WHERE d.cod_perfil = u.cod_perfil AND d.language = lang),
         u.clave, u.fec_expiracion, u.address1, u.address2, u.address3, u.phone1, u.phone2,
         u.phone3, u.ext, u.fax, u.mobil, u.email, u.cod_jefe_inm, j.uname, u.usua_comments,
         u.ula, u.nivel, u.user_active, u.user_birthdate::timestamp, u.user_image,
         u.user_language, u.profileid, u.identity_type, u.rol1, u.rol2,
         u.cod_depto, clavira_lookup('department', u.cod_depto, lang),
         u.numberdep_id, clavira_lookup('numberdep', u.numberdep_id, lang),
         u.country_id, clavira_lookup('country', u.country_id, lang),
         u.city_id, clavira_lookup('city', u.city_id, lang),
         u.site_id, clavira_lookup('site', u.site_id, lang),
         u.building_id, clavira_lookup('building', u.building_id, lang),
         u.floor_id, clavira_lookup('floor', u.floor_id, lang),
         u.company_id, clavira_lookup('company', u.company_id, lang),
         u.cha_id, clavira_lookup('position', u.cha_id, lang),
         u.uss_id, clavira_lookup('user_status', u.uss_id, lang)
    FROM users u LEFT JOIN users j ON j.cod_usuario = u.cod_jefe_inm
   WHERE u.cod_usuario = i_codusuario;
END $$;
