-- Demo data: profiles, lookups in three languages and a few users. Passwords
-- and security settings depend on the key and the directory of the running
-- demo, so scripts/demo writes them after loading this file.
INSERT INTO profiles VALUES (1), (2);
INSERT INTO profile_descriptions VALUES
  (1, 1, 'Administrador'), (1, 2, 'Administrator'), (1, 3, 'Administrador'),
  (2, 1, 'Operador'), (2, 2, 'Operator'), (2, 3, 'Operador');

INSERT INTO lookups VALUES
  ('department', '10'), ('numberdep', '1'), ('country', 'CL'), ('city', 'SCL'),
  ('site', 'S1'), ('building', 'B1'), ('floor', '3'), ('company', '100'),
  ('position', '7'), ('user_status', 'A'), ('user_status', 'I');
INSERT INTO lookup_descriptions VALUES
  ('department', '10', 1, 'Sistemas'), ('department', '10', 2, 'Systems'),
  ('department', '10', 3, 'Sistemas'),
  ('numberdep', '1', 1, 'Primero'), ('numberdep', '1', 2, 'First'), ('numberdep', '1', 3, 'Primeiro'),
  ('country', 'CL', 1, 'Chile'), ('country', 'CL', 2, 'Chile'), ('country', 'CL', 3, 'Chile'),
  ('city', 'SCL', 1, 'Santiago'), ('city', 'SCL', 2, 'Santiago'), ('city', 'SCL', 3, 'Santiago'),
  ('site', 'S1', 1, 'Casa matriz'), ('site', 'S1', 2, 'Head office'), ('site', 'S1', 3, 'Matriz'),
  ('building', 'B1', 1, 'Edificio norte'), ('building', 'B1', 2, 'North building'),
  ('building', 'B1', 3, 'Edificio norte'),
  ('floor', '3', 1, 'Tercer piso'), ('floor', '3', 2, 'Third floor'), ('floor', '3', 3, 'Terceiro andar'),
  ('company', '100', 1, 'Clavira Demo'), ('company', '100', 2, 'Clavira Demo'),
  ('company', '100', 3, 'Clavira Demo'),
  ('position', '7', 1, 'Analista'), ('position', '7', 2, 'Analyst'), ('position', '7', 3, 'Analista'),
  ('user_status', 'A', 1, 'Vigente'), ('user_status', 'A', 2, 'Current'),
  ('user_status', 'A', 3, 'Vigente'),
  ('user_status', 'I', 1, 'Suspendido'), ('user_status', 'I', 2, 'Suspended'),
  ('user_status', 'I', 3, 'Suspenso');

-- ana: database user, active, with a full record and a superior.
-- bruno: database user, not active. carla, diego: directory users (their
-- passwords live in the directory only).
INSERT INTO users (cod_usuario, user_name, uname, cod_perfil, fec_expiracion, email,
                   cod_jefe_inm, user_active, user_language, cod_depto, country_id, city_id,
                   site_id, building_id, floor_id, company_id, cha_id, uss_id)
VALUES
  (1, 'admin', 'Administradora General', 1, NULL, 'admin@clavira.test', NULL, 1, 'Esp',
   '10', 'CL', 'SCL', 'S1', 'B1', '3', '100', NULL, 'A'),
  (2, 'ana', 'Ana Pereira', 2, '2030-12-31 00:00', 'ana@clavira.test', 1, 1, 'Esp',
   '10', 'CL', 'SCL', 'S1', 'B1', '3', '100', '7', 'A'),
  (3, 'bruno', 'Bruno Soto', 2, '2020-01-31 00:00', 'bruno@clavira.test', 1, 0, 'Ing',
   '10', 'CL', 'SCL', 'S1', 'B1', '3', '100', '7', 'I'),
  (4, 'carla', 'Carla Diaz', 2, NULL, 'carla@clavira.test', 1, 1, 'Por',
   '10', 'CL', 'SCL', NULL, NULL, NULL, '100', '7', 'A'),
  (5, 'diego', 'Diego Rojas', 2, NULL, 'diego@clavira.test', 1, 1, 'Esp',
   '10', 'CL', 'SCL', NULL, NULL, NULL, '100', '7', 'A');
