-- Sdelka demo shop.  Load after schema.sql, as a superuser:
--   psql -v ON_ERROR_STOP=1 -d <db> -f db/demo.sql
--
-- A small piecework shop with 30 workers, 6 nomenclature groups (one no
-- longer used), 40 products with their operations and norms, and the
-- positions of the previous and the current month up to today, so that every
-- screen has something to show.  Dates are taken relative to current_date;
-- everything else is computed from ids and day numbers, so two loads on the
-- same day give the same rows.
--
-- Catalog rows get explicit ids below the reserved block 7777-7781; at the
-- end every sequence is moved past the largest id of its table.  The hours
-- ledger is computed from the positions and entries at the end, so it is
-- exactly what the ledger rules would have written.

\set ON_ERROR_STOP on

BEGIN;

-- ---------------------------------------------------------------------------
-- Look-up tables of the worker editor
-- ---------------------------------------------------------------------------

INSERT INTO cmn_department.department (id, id_branch, id_parent, s_code, s_caption, s_description) VALUES
  (1, 1, NULL, '100', 'Цех металлоконструкций',   'Основное производство'),
  (2, 1, 1,    '110', 'Заготовительный участок',  'Резка, гибка, сверловка'),
  (3, 1, 1,    '120', 'Сварочный участок',        'Сварка узлов и каркасов'),
  (4, 1, 1,    '130', 'Участок покраски',         'Порошковая и жидкая окраска'),
  (5, 1, 1,    '140', 'Участок сборки и упаковки','Сборка, упаковка, отгрузка');

INSERT INTO hrms_staffpos.staffpos (id, id_department, s_code, s_caption, d_begin, d_end, s_description) VALUES
  (1, 5, 'СБ', 'Сборщик',           DATE '2015-01-01', NULL, 'Сборщик металлоконструкций'),
  (2, 3, 'СВ', 'Сварщик',           DATE '2015-01-01', NULL, 'Электрогазосварщик'),
  (3, 2, 'РЗ', 'Резчик',            DATE '2015-01-01', NULL, 'Резчик металла'),
  (4, 4, 'МЛ', 'Маляр',             DATE '2015-01-01', NULL, 'Маляр по металлу'),
  (5, 5, 'УП', 'Упаковщик',         DATE '2015-01-01', NULL, 'Упаковщик готовой продукции'),
  (6, 2, 'ОП', 'Оператор',          DATE '2015-01-01', NULL, 'Оператор станков с ЧПУ'),
  (7, 1, 'ПР', 'Подсобный рабочий', DATE '2015-01-01', NULL, 'Подсобный рабочий цеха'),
  (8, 4, 'ОК', 'Оператор покраски', DATE '2015-01-01', NULL, 'Оператор линии покраски'),
  (9, 1, 'МС', 'Мастер участка',    DATE '2015-01-01', NULL, 'Мастер производственного участка');

INSERT INTO adm_role.roles (id, s_name, s_caption, d_begin, d_end, b_active) VALUES
  (1, 'admin',    'Администратор',  DATE '2015-01-01', NULL, 'true'),
  (2, 'master',   'Мастер',         DATE '2015-01-01', NULL, 'true'),
  (3, 'analyst',  'Нормировщик',    DATE '2015-01-01', NULL, 'true'),
  (4, 'store',    'Кладовщик',      DATE '2015-01-01', NULL, 'true'),
  (5, 'guest',    'Гость',          DATE '2015-01-01', DATE '2020-12-31', 'false');

-- ---------------------------------------------------------------------------
-- Workers (the trigger on accounts_dep.person fills cmn_contractor.person)
-- ---------------------------------------------------------------------------

INSERT INTO accounts_dep.person (id, fio, s_staffpos_hl) VALUES
  ( 1, 'Иванов И.И.',     'Сборщик'),
  ( 2, 'Петров С.А.',     'Сборщик'),
  ( 3, 'Сидоров А.В.',    'Сборщик'),
  ( 4, 'Кузнецов Д.Н.',   'Сборщик'),
  ( 5, 'Смирнов В.П.',    'Сборщик'),
  ( 6, 'Попов А.С.',      'Сборщик'),
  ( 7, 'Васильев Н.Г.',   'Сборщик'),
  ( 8, 'Соколов М.Ю.',    'Сборщик'),
  ( 9, 'Михайлов Е.В.',   'Сварщик'),
  (10, 'Новиков О.И.',    'Сварщик'),
  (11, 'Фёдоров К.А.',    'Сварщик'),
  (12, 'Морозов Р.Д.',    'Сварщик'),
  (13, 'Волков П.Е.',     'Резчик'),
  (14, 'Алексеев Г.М.',   'Резчик'),
  (15, 'Лебедев Ю.С.',    'Резчик'),
  (16, 'Семёнов В.В.',    'Маляр'),
  (17, 'Егоров А.Н.',     'Маляр'),
  (18, 'Павлова Т.И.',    'Маляр'),
  (19, 'Козлова Н.В.',    'Маляр'),
  (20, 'Степанова Л.А.',  'Упаковщик'),
  (21, 'Николаева О.П.',  'Упаковщик'),
  (22, 'Орлова Е.С.',     'Упаковщик'),
  (23, 'Андреев С.В.',    'Оператор'),
  (24, 'Макаров И.Ф.',    'Оператор'),
  (25, 'Никитин Д.А.',    'Оператор'),
  (26, 'Захаров В.Н.',    'Подсобный рабочий'),
  (27, 'Зайцев М.И.',     'Подсобный рабочий'),
  (28, 'Соловьёв А.А.',   'Подсобный рабочий'),
  (29, 'Борисов Е.Н.',    'Оператор покраски'),
  (30, 'Яковлев Г.П.',    'Оператор покраски');

-- Which operation type each piecework worker does (26-30 earn shares only).
CREATE TEMP TABLE demo_trade (w integer PRIMARY KEY, vid integer) ON COMMIT DROP;
INSERT INTO demo_trade (w, vid) VALUES
  (1, 1), (2, 1), (3, 1), (4, 1), (5, 1), (6, 1), (7, 1), (8, 1),
  (9, 4), (10, 4), (11, 4), (12, 4),
  (13, 5), (14, 5), (15, 5),
  (16, 2), (17, 2), (18, 3), (19, 3),
  (20, 6), (21, 6), (22, 6),
  (23, 7), (24, 7), (25, 8);

-- ---------------------------------------------------------------------------
-- Nomenclature groups (level 2 of the classifier)
-- ---------------------------------------------------------------------------

INSERT INTO cmn_classifier.item (id, id_classifier, id_level, s_code, s_caption, s_description, d_excluded_date, id_parent, b_excluded) VALUES
  (1, 1, 2, '01', 'Стеллажи',            'Стеллажи складские и архивные', NULL, NULL, 0),
  (2, 1, 2, '02', 'Шкафы металлические', 'Шкафы для одежды, архивные, инструментальные', NULL, NULL, 0),
  (3, 1, 2, '03', 'Верстаки и столы',    'Верстаки, монтажные столы, тумбы', NULL, NULL, 0),
  (4, 1, 2, '04', 'Ограждения',          'Секции, калитки, ворота, перила', NULL, NULL, 0),
  (5, 1, 2, '05', 'Тележки и тара',      'Тележки, контейнеры, поддоны', NULL, NULL, 0),
  (6, 1, 2, '06', 'Сейфы',               'Снято с производства', DATE '2023-01-01', NULL, 1);

-- ---------------------------------------------------------------------------
-- Products
-- ---------------------------------------------------------------------------

INSERT INTO cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item)
SELECT p.id, p.caption, '', 6, ((p.id % 4) + 1) * 0.5, p.grp
  FROM (VALUES
    ( 1, 'Стеллаж СТ-1000',                1),
    ( 2, 'Стеллаж СТ-1500',                1),
    ( 3, 'Стеллаж СТ-2000',                1),
    ( 4, 'Стеллаж архивный СА-2200',       1),
    ( 5, 'Стеллаж складской СС-3000',      1),
    ( 6, 'Стеллаж полочный СП-800',        1),
    ( 7, 'Стеллаж угловой СУ-1000',        1),
    ( 8, 'Стеллаж грузовой СГ-2500',       1),
    ( 9, 'Шкаф для одежды ШРМ-22',         2),
    (10, 'Шкаф для одежды ШРМ-24',         2),
    (11, 'Шкаф архивный ША-1900',          2),
    (12, 'Шкаф инструментальный ШИ-1',     2),
    (13, 'Шкаф сушильный ШС-4',            2),
    (14, 'Шкаф бухгалтерский ШБ-1000',     2),
    (15, 'Шкаф медицинский ШМ-2',          2),
    (16, 'Шкаф электротехнический ШЭ-600', 2),
    (17, 'Верстак слесарный ВС-1200',      3),
    (18, 'Верстак слесарный ВС-1500',      3),
    (19, 'Верстак двухтумбовый ВД-1800',   3),
    (20, 'Верстак с экраном ВЭ-1500',      3),
    (21, 'Стол монтажный СМ-1200',         3),
    (22, 'Стол упаковочный СУП-1600',      3),
    (23, 'Тумба инструментальная ТИ-5',    3),
    (24, 'Подставка под станок ПС-1',      3),
    (25, 'Секция ограждения СО-2000',      4),
    (26, 'Секция ограждения СО-2500',      4),
    (27, 'Калитка КЛ-1000',                4),
    (28, 'Ворота распашные ВР-3000',       4),
    (29, 'Столб опорный СТБ-60',           4),
    (30, 'Перила лестничные ПЛ-1500',      4),
    (31, 'Ограждение станка ОС-800',       4),
    (32, 'Тележка платформенная ТП-500',   5),
    (33, 'Тележка складская ТС-300',       5),
    (34, 'Тележка инструментальная ТИН-3', 5),
    (35, 'Тележка для баллонов ТБ-2',      5),
    (36, 'Тележка гидравлическая ТГ-1000', 5),
    (37, 'Контейнер сетчатый КС-800',      5),
    (38, 'Поддон металлический ПМ-1200',   5),
    (39, 'Сейф офисный СФ-1',              6),
    (40, 'Сейф оружейный СФО-2',           6)
  ) AS p (id, caption, grp);

-- ---------------------------------------------------------------------------
-- Operation types; 2 and 3 are the painting types
-- ---------------------------------------------------------------------------

INSERT INTO accounts_dep.vid_oper (id, vid) VALUES
  (1, 'Сборка'),
  (2, 'КРАСКА порошковая'),
  (3, 'КРАСКА жидкая'),
  (4, 'Сварка'),
  (5, 'Резка'),
  (6, 'Упаковка'),
  (7, 'Гибка'),
  (8, 'Сверловка'),
  (9, 'Шлифовка');

-- ---------------------------------------------------------------------------
-- Operations: id = product * 100 + type * 10 + kind, with a base price
-- ---------------------------------------------------------------------------
-- Every product is cut, assembled, painted (powder or liquid) and packed;
-- odd products are bent, every third one is drilled, even ones are welded,
-- every fifth one also has an assembly of blanks.

INSERT INTO accounts_dep.oper (id, vid, naimen, i_id, cena_new)
SELECT o.p * 100 + o.v * 10 + o.n, o.v, o.n, o.p,
       round(CASE
         WHEN o.v = 1 AND o.n = 0 THEN 45 + (o.p % 7) * 5
         WHEN o.v = 1             THEN 20 + (o.p % 5) * 2
         WHEN o.v = 2 THEN 18 + (o.p % 5) * 1.5
         WHEN o.v = 3 THEN 15 + (o.p % 4) * 2
         WHEN o.v = 4 THEN 30 + (o.p % 6) * 3.5
         WHEN o.v = 5 THEN 6.5 + (o.p % 5) * 0.75
         WHEN o.v = 6 THEN 4 + (o.p % 3) * 0.5
         WHEN o.v = 7 THEN 3.2 + (o.p % 4) * 0.4
         ELSE              2.8 + (o.p % 3) * 0.35
       END, 2)
  FROM (
    SELECT p, v, n
      FROM generate_series(1, 40) AS p
      CROSS JOIN (VALUES (1, 0), (1, 1), (2, 0), (3, 0), (4, 1), (5, 1), (6, 0), (7, 1), (8, 1)) AS t (v, n)
     WHERE (v = 1 AND n = 0) OR v IN (5, 6)
        OR (v = 1 AND n = 1 AND p % 5 = 0)
        OR (v = 2 AND p % 3 <> 0)
        OR (v = 3 AND p % 3 = 0)
        OR (v = 4 AND p % 2 = 0)
        OR (v = 7 AND p % 2 = 1)
        OR (v = 8 AND p % 3 = 0)
  ) AS o
 ORDER BY 1;

-- One to three norms per operation; the first carries the base price, the
-- larger norms pay more per piece and a premium.
INSERT INTO accounts_dep.norm (o_id, norma, prize, price)
SELECT o.id,
       k * CASE o.vid WHEN 1 THEN 50 WHEN 4 THEN 80 WHEN 2 THEN 150 WHEN 3 THEN 150 ELSE 400 END,
       (k - 1) * 5,
       round(o.cena_new * (1 + 0.15 * (k - 1)), 2)::double precision
  FROM accounts_dep.oper o
  CROSS JOIN generate_series(1, 3) AS k
 WHERE o.id < 7777
   AND k <= 1 + (o.i_id + o.vid) % 3
 ORDER BY o.id, k;

-- ---------------------------------------------------------------------------
-- Positions of the previous and the current month (up to today)
-- ---------------------------------------------------------------------------

CREATE TEMP TABLE demo_day ON COMMIT DROP AS
SELECT d::date                                                             AS d,
       (d::date - (date_trunc('month', current_date) - interval '1 month')::date) AS dayno,
       extract(isodow FROM d) >= 6                                          AS weekend,
       extract(week FROM d)::integer                                        AS week
  FROM generate_series(date_trunc('month', current_date) - interval '1 month',
                       current_date, interval '1 day') AS d;

-- Operations a worker of each type can be given: those of active products.
CREATE TEMP TABLE demo_op ON COMMIT DROP AS
SELECT o.id, o.vid, o.i_id,
       (row_number() OVER (PARTITION BY o.vid ORDER BY o.id) - 1)::integer AS rn,
       (count(*) OVER (PARTITION BY o.vid))::integer                       AS cnt,
       (SELECT min(n.price) FROM accounts_dep.norm n WHERE n.o_id = o.id)  AS base
  FROM accounts_dep.oper o
  JOIN cmn_gds_and_srv.gds_and_srv g ON g.id = o.i_id
  JOIN cmn_classifier.item i ON i.id = g.id_class_item
 WHERE o.id < 7777 AND i.b_excluded = 0 AND NOT (o.vid = 1 AND o.naimen = 1);

-- A worker works on weekdays except on his absent days, and on a few
-- weekend days; the shift (1-3) rotates weekly.  Slot 0 is the main
-- position, slot 1 a second position of the same shift, slot 2 overtime
-- (shift 4).
CREATE TEMP TABLE demo_slot ON COMMIT DROP AS
SELECT t.w, t.vid, dd.d, dd.dayno, dd.weekend, k.k,
       CASE WHEN k.k = 2 THEN 4 ELSE 1 + (t.w + dd.week) % 3 END AS smena,
       CASE
         WHEN k.k = 2 THEN 2 + (t.w + dd.dayno) % 3
         WHEN (t.w + dd.dayno) % 3 = 0 THEN
           CASE WHEN (t.w + dd.dayno) % 29 = 0 THEN (ARRAY[8, 0])[k.k + 1] ELSE (ARRAY[5, 3])[k.k + 1] END
         WHEN (t.w + dd.dayno) % 13 = 0 THEN 9
         WHEN (t.w + dd.dayno) % 17 = 0 THEN 7
         ELSE 8
       END AS hours
  FROM demo_trade t
  CROSS JOIN demo_day dd
  CROSS JOIN (VALUES (0), (1), (2)) AS k (k)
 WHERE ((NOT dd.weekend AND (t.w + dd.dayno) % 11 <> 0) OR (dd.weekend AND (t.w + dd.dayno) % 5 = 0))
   AND (k.k = 0
        OR (k.k = 1 AND (t.w + dd.dayno) % 3 = 0)
        OR (k.k = 2 AND NOT dd.weekend AND (t.w * 3 + dd.dayno) % 7 = 0));

INSERT INTO accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "time", vvod, ok, prize,
                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
SELECT s.w, op.i_id, op.id,
       round((op.base * CASE WHEN s.weekend THEN 2 ELSE 1 END
                       * CASE s.smena WHEN 3 THEN 1.2 WHEN 4 THEN 1.5 ELSE 1 END)::numeric, 4),
       q.kol_vo,
       CASE WHEN (s.w + s.dayno + s.k) % 9 = 0 THEN 1 + s.w % 3 ELSE 0 END,
       s.d, s.smena,
       CASE WHEN op.vid IN (2, 3)
            THEN (ARRAY[1, 9005, 9016, 3020, 5015, 7035])[1 + (s.w + s.dayno + s.k) % 6]
            ELSE 0 END,
       s.hours,
       least(s.d + CASE WHEN (s.w + s.dayno) % 4 = 0 THEN 1 ELSE 0 END, current_date)::timestamp,
       CASE
         WHEN s.d >= current_date - 2 THEN CASE WHEN (s.w + s.k) % 3 = 0 THEN 'ok' ELSE 'no' END
         WHEN (s.w + s.dayno + s.k) % 10 = 0 THEN 'no'
         WHEN (s.w + s.dayno) % 6 = 0 THEN 'да'
         ELSE 'ok'
       END,
       CASE WHEN (s.w + s.dayno) % 17 = 0 THEN 10 ELSE 0 END,
       0, 0, 0, 0, 0
  FROM demo_slot s
  JOIN demo_op op ON op.vid = s.vid
                 AND op.rn = (s.w * 7 + s.dayno * 3 + s.k * 11) % op.cnt
  CROSS JOIN LATERAL (
    SELECT greatest(5, round(CASE s.vid WHEN 1 THEN 60 WHEN 2 THEN 200 WHEN 3 THEN 180 WHEN 4 THEN 100
                                        WHEN 5 THEN 450 WHEN 6 THEN 800 WHEN 7 THEN 900 ELSE 1000 END
                             * s.hours / 8.0
                             * (0.8 + ((s.w * 13 + s.dayno * 7 + s.k * 5) % 41) / 100.0)))::numeric AS kol_vo
  ) AS q
 ORDER BY s.d, s.smena, s.w, s.k;

-- Helper shares (operation 7779): on even days the helpers 26, 27 and 28
-- help workers 1, 2 and 3 for 4 hours on their main position.  A helper
-- earns per hour 70 % of what the position earns per hour; the share keeps
-- the position's product, shift and colour.
INSERT INTO accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "time", vvod, ok, prize,
                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
SELECT s.w_id + 25, s.i_id, 7779,
       4 * round((0.7 * s.cena * (s.kol_vo - s.brak) / s."time")::numeric, 2),
       1, 0, s.data, s.smena, s.color, 4, s.data::timestamp,
       CASE WHEN s.data >= current_date - 2 THEN 'no' ELSE 'ok' END,
       0, 0, 0, 0, 0, 0
  FROM accounts_dep.smena s
  JOIN demo_day dd ON dd.d = s.data
 WHERE s.w_id IN (1, 2, 3) AND s.smena < 4 AND s."time" > 0 AND dd.dayno % 2 = 0
   AND s.id = (SELECT min(s2.id) FROM accounts_dep.smena s2
                WHERE s2.w_id = s.w_id AND s2.data = s.data AND s2.smena = s.smena)
 ORDER BY s.data, s.w_id;

-- Brigade-helper shares (7781): on odd weekdays the helpers serve their
-- whole shift for 8 hours at 0.7 of the shift's average earnings per hour.
INSERT INTO accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "time", vvod, ok, prize,
                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
SELECT h.w, 7781, 7781, round((8 * g.s / g.t * 0.7)::numeric, 2),
       1, 0, dd.d, h.smena, 7781, 8, dd.d::timestamp,
       CASE WHEN dd.d >= current_date - 2 THEN 'no' ELSE 'ok' END,
       0, 0, 0, 0, 0, 0
  FROM demo_day dd
  CROSS JOIN LATERAL (SELECT w, 1 + (w + dd.week) % 3 AS smena FROM generate_series(26, 28) AS w) AS h
  CROSS JOIN LATERAL (
    SELECT sum(s.cena * (s.kol_vo - s.brak)) AS s, sum(s."time") AS t
      FROM accounts_dep.smena s
     WHERE s.data = dd.d AND s.smena = h.smena AND s."time" > 0 AND s.o_id < 7777
  ) AS g
 WHERE NOT dd.weekend AND dd.dayno % 2 = 1 AND g.t > 0
 ORDER BY dd.d, h.w;

-- Painting-operator shares (7780): operator 29 serves shift 1 and operator
-- 30 shift 2 for 8 hours at 1.2 of the painters' average earnings per hour.
INSERT INTO accounts_dep.smena (w_id, i_id, o_id, cena, kol_vo, brak, data, smena, color, "time", vvod, ok, prize,
                                id_doc, id_doc_item, f_gds_qty_use, id_gds_use, id_cons_use)
SELECT op.w, 7780, 7780, round((8 * g.s / g.t * 1.2)::numeric, 2),
       1, 0, dd.d, op.smena, 7780, 8, dd.d::timestamp,
       CASE WHEN dd.d >= current_date - 2 THEN 'no' ELSE 'да' END,
       0, 0, 0, 0, 0, 0
  FROM demo_day dd
  CROSS JOIN (VALUES (29, 1), (30, 2)) AS op (w, smena)
  CROSS JOIN LATERAL (
    SELECT sum(s.cena * (s.kol_vo - s.brak)) AS s, sum(s."time") AS t
      FROM accounts_dep.smena s
      JOIN accounts_dep.oper o ON o.id = s.o_id
     WHERE s.data = dd.d AND s.smena = op.smena AND s."time" > 0 AND o.vid IN (2, 3)
  ) AS g
 WHERE NOT dd.weekend AND g.t > 0
 ORDER BY dd.d, op.w;

-- ---------------------------------------------------------------------------
-- Household works (7777) and average piecework (7778)
-- ---------------------------------------------------------------------------
-- Household works: helpers 4 hours on even weekdays (helper 28 at night on
-- every fourth day), packers 8 hours on their absent days, helper 26 six
-- hours on some weekend days.  Average piecework: assemblers and welders
-- 8 hours on their absent days.  Price per hour at entry: the kind's norm
-- price, doubled on a day off, raised by 20 % for night work.

CREATE TEMP TABLE demo_fatigue ON COMMIT DROP AS
SELECT w, d, 7777 AS kind, 4 AS cnt, 1 + (w + dayno) % 5 AS nom,
       CASE WHEN w = 28 AND dayno % 4 = 0 THEN 1 ELSE 0 END AS night, 0 AS holiday
  FROM demo_day CROSS JOIN generate_series(26, 28) AS w
 WHERE NOT weekend AND dayno % 2 = 0
UNION ALL
SELECT w, d, 7777, 8, 1 + (w + dayno) % 5, 0, 0
  FROM demo_day CROSS JOIN generate_series(20, 22) AS w
 WHERE NOT weekend AND (w + dayno) % 11 = 0
UNION ALL
SELECT 26, d, 7777, 6, 1 + dayno % 5, 0, 1
  FROM demo_day
 WHERE weekend AND dayno % 3 = 0
UNION ALL
SELECT w, d, 7778, 8, 1 + w % 5, CASE WHEN w % 4 = 0 THEN 1 ELSE 0 END, 0
  FROM demo_day CROSS JOIN generate_series(1, 12) AS w
 WHERE NOT weekend AND (w + dayno) % 11 = 0;

INSERT INTO accounts_dep.fatigue (id_nom, id_o, id_p, d_date, i_mnth, i_year, i_smena, cnt, price, i_holiday, i_night)
SELECT f.nom, f.kind, f.w, f.d, extract(month FROM f.d), extract(year FROM f.d), 1, f.cnt,
       round((n.price * CASE WHEN f.holiday = 1 THEN 2 ELSE 1 END
                      * CASE WHEN f.night = 1 THEN 1.2 ELSE 1 END)::numeric, 2),
       f.holiday, f.night
  FROM demo_fatigue f
  JOIN accounts_dep.norm n ON n.o_id = f.kind
 ORDER BY f.d, f.kind, f.w;

-- Average-piecework prices as the household-works list computes them for a
-- month: the worker's piecework earnings of the month per hour worked (good
-- pieces times price, +20 % for a night entry, doubled for a day-off entry),
-- 0 without positions or hours.
UPDATE accounts_dep.fatigue f
   SET price = coalesce((
         SELECT CASE WHEN coalesce(sum(s."time"), 0) = 0 THEN 0
                     ELSE (sum((s.kol_vo - s.brak) * (s.cena + s.cena * f.i_night * 0.2)
                               * CASE WHEN f.i_holiday = 0 THEN 1 ELSE 2 END) / sum(s."time"))::numeric(10,2)
                END
           FROM accounts_dep.smena s
          WHERE s.w_id = f.id_p
            AND s.data >= make_date(f.i_year, f.i_mnth, 1)
            AND s.data <  make_date(f.i_year, f.i_mnth, 1) + interval '1 month'), 0)
 WHERE f.id_o = 7778;

-- ---------------------------------------------------------------------------
-- Hours ledger, computed from the positions and the entries
-- ---------------------------------------------------------------------------

-- Shift rows: day n holds the summed hours of the worker's positions of that
-- shift on day n, null on days without positions.
INSERT INTO accounts_dep.h_tabel (w_id, month, year, smena,
  d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
  d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
SELECT s.w_id, extract(month FROM s.data), extract(year FROM s.data), s.smena,
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 1),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 2),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 3),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 4),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 5),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 6),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 7),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 8),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 9),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 10),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 11),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 12),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 13),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 14),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 15),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 16),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 17),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 18),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 19),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 20),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 21),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 22),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 23),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 24),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 25),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 26),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 27),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 28),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 29),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 30),
  sum(s."time") FILTER (WHERE extract(day FROM s.data) = 31)
  FROM accounts_dep.smena s
 GROUP BY s.w_id, extract(year FROM s.data), extract(month FROM s.data), s.smena
 ORDER BY extract(year FROM s.data), extract(month FROM s.data), s.smena, s.w_id;

-- Household rows (smena 0): per worker, kind, day/night and group, day n
-- holds the summed hours of that day's entries.
INSERT INTO accounts_dep.h_tabel (w_id, month, year, i_type, i_night, id_nom,
  d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14, d15, d16,
  d17, d18, d19, d20, d21, d22, d23, d24, d25, d26, d27, d28, d29, d30, d31)
SELECT f.id_p, f.i_mnth, f.i_year, f.id_o, f.i_night, f.id_nom,
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 1),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 2),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 3),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 4),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 5),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 6),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 7),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 8),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 9),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 10),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 11),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 12),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 13),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 14),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 15),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 16),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 17),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 18),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 19),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 20),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 21),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 22),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 23),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 24),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 25),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 26),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 27),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 28),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 29),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 30),
  sum(f.cnt) FILTER (WHERE extract(day FROM f.d_date) = 31)
  FROM accounts_dep.fatigue f
 GROUP BY f.id_p, f.i_year, f.i_mnth, f.id_o, f.i_night, f.id_nom
 ORDER BY f.i_year, f.i_mnth, f.id_o, f.id_p, f.i_night, f.id_nom;

-- ---------------------------------------------------------------------------
-- Sequences: move each past the largest id of its table (never backwards,
-- so the sequences that start at 10000 keep clear of the reserved ids)
-- ---------------------------------------------------------------------------

DO $$
DECLARE
  r        record;
  max_id   numeric;
  next_id  bigint;
BEGIN
  FOR r IN
    SELECT s.oid::regclass AS seq, t.oid::regclass AS tbl, a.attname AS col
      FROM pg_class s
      JOIN pg_depend d    ON d.classid = 'pg_class'::regclass AND d.objid = s.oid
                         AND d.refclassid = 'pg_class'::regclass AND d.deptype IN ('a', 'i')
      JOIN pg_class t     ON t.oid = d.refobjid
      JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = d.refobjsubid
      JOIN pg_namespace n ON n.oid = s.relnamespace
     WHERE s.relkind = 'S'
       AND n.nspname IN ('accounts_dep', 'cmn_contractor', 'cmn_classifier', 'cmn_gds_and_srv',
                         'hrms_staffpos', 'cmn_department', 'adm_role')
  LOOP
    EXECUTE format('SELECT max(%I) FROM %s', r.col, r.tbl) INTO max_id;
    EXECUTE format('SELECT CASE WHEN is_called THEN last_value + 1 ELSE last_value END FROM %s', r.seq)
       INTO next_id;
    IF max_id IS NOT NULL AND max_id >= next_id THEN
      PERFORM setval(r.seq, max_id::bigint);
    END IF;
  END LOOP;
END
$$;

COMMIT;

ANALYZE;
