-- The grid editor's demo table (scripts/demo --grid): 1,000,000 sales rows,
-- 10 regions x 1,000 products x 100 months, made in one statement.
DROP TABLE IF EXISTS demo_sales;
CREATE TABLE demo_sales (
  region varchar(20),
  product varchar(30),
  month date,
  amount numeric(12, 2),
  quantity integer,
  PRIMARY KEY (region, product, month)
);
SELECT setseed(0.16);
INSERT INTO demo_sales
SELECT 'Region ' || lpad(r::text, 2, '0'),
       'Product ' || lpad(p::text, 4, '0'),
       (date '2017-01-01' + make_interval(months => m))::date,
       round((random() * 1000)::numeric, 2),
       (random() * 100)::integer
FROM generate_series(1, 10) r, generate_series(1, 1000) p, generate_series(0, 99) m;
ANALYZE demo_sales;
