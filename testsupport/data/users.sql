-- Users and settings of the login tests (load after db/schema/tables.sql and
-- a procedure shape). Passwords are set by the tests through EncryptDB; the
-- directory path of settings 3 to 8 is filled in by the tests.
INSERT INTO profiles VALUES (5);
INSERT INTO profile_descriptions VALUES (5, 1, 'Operador'), (5, 2, 'Operator'), (5, 3, 'Operador');
INSERT INTO lookups VALUES ('department', '10'), ('country', 'CL'), ('user_status', 'A');
INSERT INTO lookup_descriptions VALUES
  ('department', '10', 1, 'Sistemas'), ('department', '10', 2, 'Systems'),
  ('department', '10', 3, 'Sistemas PT'),
  ('country', 'CL', 1, 'Chile'), ('country', 'CL', 2, 'Chile'),
  ('user_status', 'A', 1, 'Vigente'), ('user_status', 'A', 2, 'Current');

INSERT INTO users (cod_usuario, user_name, uname, user_active) VALUES (1, 'boss', 'La Jefa', 1);
-- A record with every column set.
INSERT INTO users VALUES
  (10, 'ana', 'Ana Pereira', 5, NULL, '2030-12-31 12:00', 'Calle 1', 'Depto 2', 'Santiago',
   '+56 2 1111', '+56 2 2222', '+56 2 3333', '42', '+56 2 4444', '+56 9 5555', 'ana@clavira.test',
   1, 'sin comentarios', 7, 3, 1, '1990-05-17', 'ana.png', 'Esp', 12, 'RUT', 21, 22,
   '10', '1', 'CL', 'SCL', 'S1', 'B1', '3', '100', '7', 'A');
INSERT INTO users (cod_usuario, user_name, uname, cod_jefe_inm, user_active) VALUES
  (11, 'bruno', 'Bruno Soto', 1, 0),
  (12, 'alice', 'Alice Ldap', 1, 1),
  (13, 'bob', 'Bob Ldap', 1, 1),
  (14, 'carol', 'Carol Ldap', 1, 1),
  (15, 'perez, juan', 'Juan Perez', 1, 1),
  (16, 'dora', 'Dora Ldap', 1, 0),
  (17, 'ghost', 'Sin Ficha', 1, 1);
-- A record whose columns are all null but the key, the login name and the flag.
INSERT INTO users (cod_usuario, user_name, user_active) VALUES (18, 'nulls', 1);

INSERT INTO security_settings VALUES (2, NULL, NULL, NULL);
