-- Sdelka development database.
--
-- Creates, in an empty database, everything the program expects the
-- enterprise database to hold: the login role, the schemas, the domains, the
-- program's own tables in accounts_dep, the shared tables it reads or writes,
-- the views izdel, v_nom_f and v_nom_s, the reserved catalog rows 7777-7781
-- and the version row.  The program itself never creates or alters any of
-- these objects.
--
-- Load as a superuser into a fresh database:
--   psql -v ON_ERROR_STOP=1 -d <db> -f db/schema.sql
-- The role sys is cluster-wide and is created only when missing, so the file
-- can be loaded into several databases of one cluster.
--
-- Ids and sequences.  Every auto-increment id is an integer (or numeric(15,0)
-- where the shared tables use that) with DEFAULT nextval of its own sequence,
-- so explicit ids may always be given.  The tables that hold the reserved ids
-- 7777-7781 (vid_oper, oper, gds_and_srv and the classifier item) take their
-- ids from sequences that START WITH 10000: ids handed out by the database
-- never run into the reserved block.  All other sequences start at 1.
-- demo.sql inserts its catalog rows with explicit ids below 7777 and moves
-- every sequence past the largest id in its table at its end, so ordinary
-- inserts after the demo never collide either.
--
-- Several statements of the program join tables without qualifying column
-- names (fio, s_caption, s_code, w_id, naimen, price, time, color, ok ...).
-- Column names are therefore kept unique across the tables those statements
-- join: izdel has no s_caption or fio, cmn_contractor.person has no fio, and
-- only norm has price.  Do not add such columns to the other tables.

\set ON_ERROR_STOP on

BEGIN;

-- Cyrillic names, upper() in the duplicate checks and the demo data need a
-- UTF8 database with a ctype that knows Cyrillic letters (C.UTF-8 will do).
DO $$
BEGIN
  IF getdatabaseencoding() <> 'UTF8' THEN
    RAISE EXCEPTION 'database encoding is %, Sdelka needs UTF8 (initdb -E UTF8 --locale=C.UTF-8)',
      getdatabaseencoding();
  END IF;
  IF upper('ж') <> 'Ж' THEN
    RAISE WARNING 'ctype % does not upper-case Cyrillic letters; name duplicate checks will be case sensitive',
      current_setting('lc_ctype');
  END IF;
END
$$;

-- ---------------------------------------------------------------------------
-- Login role
-- ---------------------------------------------------------------------------

-- The program logs in as sys.  Its connection sets DateStyle itself; the role
-- default does the same for psql sessions, so texts like 01.3.2024 read as
-- day.month.year there too.
DO $$
BEGIN
  IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'sys') THEN
    CREATE ROLE sys LOGIN PASSWORD 'wmbrtfa';
    ALTER ROLE sys SET DateStyle = 'ISO, DMY';
  END IF;
END
$$;

-- ---------------------------------------------------------------------------
-- Schemas and domains
-- ---------------------------------------------------------------------------

CREATE SCHEMA accounts_dep;
CREATE SCHEMA cmn_contractor;
CREATE SCHEMA cmn_classifier;
CREATE SCHEMA cmn_gds_and_srv;
CREATE SCHEMA hrms_staffpos;
CREATE SCHEMA cmn_department;
CREATE SCHEMA adm_role;

-- The domains live in public so that unqualified casts such as
-- s_code::t_id, s_code::t_integer and (...)::t_money resolve on the default
-- search path of sys.  The program reads s_code as an id only when it holds
-- digits alone; other codes match no worker.
CREATE DOMAIN public.t_id      AS numeric(15,0);
CREATE DOMAIN public.t_integer AS integer;
CREATE DOMAIN public.t_money   AS numeric(15,2);

-- ---------------------------------------------------------------------------
-- Shared tables of the enterprise database
-- ---------------------------------------------------------------------------

-- Persons.  Kept in step with accounts_dep.person by a trigger below:
-- same id, s_caption = fio, s_code = the id as text.
CREATE TABLE cmn_contractor.person (
  id        integer      NOT NULL PRIMARY KEY,
  s_caption varchar(254),
  s_code    varchar(254)
);

-- Classifier items; level 2 are the nomenclature groups.
CREATE SEQUENCE cmn_classifier.item_id_seq START WITH 10000;
CREATE TABLE cmn_classifier.item (
  id              integer NOT NULL DEFAULT nextval('cmn_classifier.item_id_seq') PRIMARY KEY,
  id_classifier   numeric(15,0),
  id_level        numeric(15,0),
  s_code          varchar(254),
  s_caption       varchar(254),
  s_description   varchar(4000),
  d_excluded_date date,
  id_parent       numeric(15,0),
  b_excluded      integer DEFAULT 0
);
ALTER SEQUENCE cmn_classifier.item_id_seq OWNED BY cmn_classifier.item.id;

-- The group editor inserts only s_caption and b_excluded; like the
-- enterprise database, fill in the level (2, a nomenclature group) and the
-- classifier (1, nomenclature) when they are not given.
CREATE FUNCTION cmn_classifier.item_defaults() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
  IF NEW.id_level IS NULL THEN
    NEW.id_level := 2;
  END IF;
  IF NEW.id_classifier IS NULL THEN
    NEW.id_classifier := 1;
  END IF;
  IF NEW.b_excluded IS NULL THEN
    NEW.b_excluded := 0;
  END IF;
  RETURN NEW;
END
$$;
CREATE TRIGGER item_defaults BEFORE INSERT ON cmn_classifier.item
  FOR EACH ROW EXECUTE FUNCTION cmn_classifier.item_defaults();

-- Goods and services; the products of the shop.  The product editor inserts
-- without an id.
CREATE SEQUENCE cmn_gds_and_srv.gds_and_srv_id_seq START WITH 10000;
CREATE TABLE cmn_gds_and_srv.gds_and_srv (
  id            numeric(15,0) NOT NULL DEFAULT nextval('cmn_gds_and_srv.gds_and_srv_id_seq') PRIMARY KEY,
  s_caption     varchar(254),
  s_description varchar(4000),
  id_msm_bs     integer,
  massa         numeric,
  id_class_item numeric(15,0)
);
ALTER SEQUENCE cmn_gds_and_srv.gds_and_srv_id_seq OWNED BY cmn_gds_and_srv.gds_and_srv.id;

-- Look-up tables of the worker editor.
CREATE TABLE hrms_staffpos.staffpos (
  id            numeric(15,0) NOT NULL PRIMARY KEY,
  id_department numeric(15,0),
  s_code        varchar(254),
  s_caption     varchar(254),
  d_begin       date,
  d_end         date,
  s_description varchar(4000)
);

CREATE TABLE cmn_department.department (
  id            numeric(15,0) NOT NULL PRIMARY KEY,
  id_branch     numeric(15,0),
  id_parent     numeric(15,0),
  s_code        varchar(254),
  s_caption     varchar(254),
  s_description varchar(4000)
);

CREATE TABLE adm_role.roles (
  id        numeric(15,0) NOT NULL PRIMARY KEY,
  s_name    varchar(30),
  s_caption varchar(254),
  d_begin   date,
  d_end     date,
  b_active  varchar(5)
);

-- ---------------------------------------------------------------------------
-- The program's own tables
-- ---------------------------------------------------------------------------

-- Workers of the shop.  id must stay the primary key: a grouped sub-query of
-- the average-piecework price orders by fio while grouping by id.
CREATE TABLE accounts_dep.person (
  id            serial PRIMARY KEY,
  fio           varchar(254),
  s_staffpos_hl varchar(254)
);

CREATE FUNCTION accounts_dep.person_sync_contractor() RETURNS trigger
LANGUAGE plpgsql AS $$
BEGIN
  IF TG_OP = 'DELETE' THEN
    DELETE FROM cmn_contractor.person WHERE id = OLD.id;
    RETURN OLD;
  END IF;
  IF TG_OP = 'UPDATE' AND NEW.id <> OLD.id THEN
    DELETE FROM cmn_contractor.person WHERE id = OLD.id;
  END IF;
  INSERT INTO cmn_contractor.person (id, s_caption, s_code)
  VALUES (NEW.id, NEW.fio, NEW.id::text)
  ON CONFLICT (id) DO UPDATE
    SET s_caption = EXCLUDED.s_caption, s_code = EXCLUDED.s_code;
  RETURN NEW;
END
$$;
CREATE TRIGGER person_sync_contractor
  AFTER INSERT OR UPDATE OR DELETE ON accounts_dep.person
  FOR EACH ROW EXECUTE FUNCTION accounts_dep.person_sync_contractor();

-- Operation types.  A type whose name contains КРАСКА is a painting type.
CREATE SEQUENCE accounts_dep.vid_oper_id_seq START WITH 10000;
CREATE TABLE accounts_dep.vid_oper (
  id  integer NOT NULL DEFAULT nextval('accounts_dep.vid_oper_id_seq') PRIMARY KEY,
  vid varchar(128)
);
ALTER SEQUENCE accounts_dep.vid_oper_id_seq OWNED BY accounts_dep.vid_oper.id;

-- Operations of a product: type, kind (0 finished, else blanks), product.
CREATE SEQUENCE accounts_dep.oper_id_seq START WITH 10000;
CREATE TABLE accounts_dep.oper (
  id       integer NOT NULL DEFAULT nextval('accounts_dep.oper_id_seq') PRIMARY KEY,
  vid      integer,
  naimen   smallint,
  i_id     integer,
  cena_new numeric
);
ALTER SEQUENCE accounts_dep.oper_id_seq OWNED BY accounts_dep.oper.id;

-- Norms and prices of an operation; the lowest price is its base price.
CREATE TABLE accounts_dep.norm (
  id    serial PRIMARY KEY,
  o_id  integer,
  norma integer,
  prize integer,
  price double precision
);

-- Positions of the shift register.
CREATE TABLE accounts_dep.smena (
  id            serial PRIMARY KEY,
  w_id          integer,
  i_id          integer,
  o_id          integer,
  cena          double precision,
  kol_vo        numeric,
  brak          smallint,
  data          date,
  smena         smallint,
  color         integer DEFAULT 0,
  "time"        integer,
  vvod          timestamp,
  ok            varchar(255),
  prize         double precision DEFAULT 0,
  id_doc        numeric(15,0) DEFAULT 0,
  id_doc_item   numeric(15,0) DEFAULT 0,
  f_gds_qty_use double precision DEFAULT 0,
  id_gds_use    numeric(15,0) DEFAULT 0,
  id_cons_use   numeric(15,0) DEFAULT 0
);

-- Hours ledger: one row per worker, month and shift (smena 1-4, i_type 0),
-- or per worker, month, kind (i_type 7777/7778), day/night and nomenclature
-- group (smena 0).  The statements that create rows name either smena or
-- i_type, so both default to 0.  id must stay the primary key: the shift
-- ledger lists select h_tabel.* grouped by h_tabel.id.
CREATE TABLE accounts_dep.h_tabel (
  id      serial PRIMARY KEY,
  w_id    integer,
  month   integer,
  year    integer,
  smena   integer DEFAULT 0,
  i_type  integer DEFAULT 0,
  i_night integer,
  id_nom  integer,
  d1  integer, d2  integer, d3  integer, d4  integer, d5  integer,
  d6  integer, d7  integer, d8  integer, d9  integer, d10 integer,
  d11 integer, d12 integer, d13 integer, d14 integer, d15 integer,
  d16 integer, d17 integer, d18 integer, d19 integer, d20 integer,
  d21 integer, d22 integer, d23 integer, d24 integer, d25 integer,
  d26 integer, d27 integer, d28 integer, d29 integer, d30 integer,
  d31 integer
);

-- Household works (id_o 7777) and average-piecework (id_o 7778) entries.
-- price keeps two decimals: night and day-off factors give prices like 128.4.
CREATE TABLE accounts_dep.fatigue (
  id        serial PRIMARY KEY,
  id_nom    numeric(15,0),
  id_o      numeric(15,0),
  id_p      numeric(15,0),
  d_date    date,
  i_mnth    integer,
  i_year    integer,
  i_smena   integer,
  cnt       integer,
  price     numeric(15,2),
  i_holiday integer DEFAULT 0,
  i_night   integer DEFAULT 0
);

-- Helper workers listed for a position while the position editor is open.
CREATE TABLE accounts_dep.person_temp (
  id        serial PRIMARY KEY,
  id_smena  integer,
  id_person integer,
  f_count   numeric(28,6),
  f_time    numeric(28,6),
  type      integer
);

-- Output groups picked for a painting operator or brigade helper while the
-- distribution dialog is open.
CREATE TABLE accounts_dep.painting_temp (
  id      serial PRIMARY KEY,
  id_p    numeric(15,0),
  id_w    integer,
  v_id    integer,
  f_count numeric,
  f_time  numeric(28,6),
  color   integer
);

-- Build stamp of the newest build that ran here, and the decimal separator.
CREATE TABLE accounts_dep.ver (
  d     integer,
  t     integer,
  delim varchar(255)
);

-- ---------------------------------------------------------------------------
-- Views
-- ---------------------------------------------------------------------------

-- Products as the program reads them: the goods rows under the same id, the
-- mark and the caption of the nomenclature group.  Left join, so a product
-- without a group is still listed (with an empty nom).
CREATE VIEW accounts_dep.izdel AS
SELECT g.s_caption                  AS marka,
       g.id                         AS id,
       i.s_caption::varchar(255)    AS nom,
       g.massa::numeric(28,6)       AS massa,
       g.id_class_item              AS id_class_item,
       g.id_class_item::integer     AS id_nom
  FROM cmn_gds_and_srv.gds_and_srv g
  LEFT JOIN cmn_classifier.item i ON i.id = g.id_class_item;

-- Money per worker, nomenclature group and day from household-works and
-- average-piecework entries (hours times price per hour).
CREATE VIEW accounts_dep.v_nom_f AS
SELECT f.id_nom                        AS id_nom,
       f.id_p                          AS id_p,
       sum(f.cnt * f.price)::numeric   AS f_sum,
       f.d_date                        AS d_date
  FROM accounts_dep.fatigue f
 GROUP BY f.id_nom, f.id_p, f.d_date;

-- Money per worker, nomenclature group and day from positions: good pieces
-- times price, the group being that of the position's product.
CREATE VIEW accounts_dep.v_nom_s AS
SELECT g.id_class_item                                  AS id_nom,
       s.w_id::numeric                                  AS id_p,
       sum((s.kol_vo - s.brak) * s.cena::numeric)       AS f_sum,
       s.data                                           AS d_date
  FROM accounts_dep.smena s
  JOIN cmn_gds_and_srv.gds_and_srv g ON g.id = s.i_id
 GROUP BY g.id_class_item, s.w_id, s.data;

-- ---------------------------------------------------------------------------
-- Reserved rows
-- ---------------------------------------------------------------------------
--
-- 7777 household works and 7778 average piecework: fixed rows of the
-- operation types, operations and products that the catalog screens refuse
-- to change, pick or delete.  Each operation has one norm, whose price is
-- the hourly price offered when an entry is made (one norm only, so the kind
-- list shows each kind once).
--
-- 7779 helper share, 7780 painting-operator share, 7781 brigade-helper
-- share: positions are written with these operation ids (and for 7780/7781
-- also product id and colour), and the register joins every position to its
-- product, operation and operation type, so these rows must exist.  A
-- helper share keeps the product of the position it was taken from, so
-- product 7779 only completes the catalog.  These three operations have no
-- norm, so they never appear in the operations picker.
--
-- The reserved products belong to the classifier item 7777, a level-1 item
-- (not a nomenclature group, so no group list offers it) that gives them a
-- caption in izdel and lets the operations list join them to a group.

INSERT INTO cmn_classifier.item (id, id_classifier, id_level, s_code, s_caption, s_description, b_excluded)
VALUES (7777, 1, 1, '7777', 'Служебные работы', 'Хоз. работы, среднесдельная и доли подсобников и операторов', 0);

INSERT INTO cmn_gds_and_srv.gds_and_srv (id, s_caption, s_description, id_msm_bs, massa, id_class_item) VALUES
  (7777, 'Хоз. работы',                '', 6, 0, 7777),
  (7778, 'Среднесдельная',             '', 6, 0, 7777),
  (7779, 'Подсобник',                  '', 6, 0, 7777),
  (7780, 'Оператор покраски',          '', 6, 0, 7777),
  (7781, 'Подсобный рабочий бригады',  '', 6, 0, 7777);

INSERT INTO accounts_dep.vid_oper (id, vid) VALUES
  (7777, 'Хоз. работы'),
  (7778, 'Среднесдельная'),
  (7779, 'Подсобник'),
  (7780, 'Оператор покраски'),
  (7781, 'Подсобный рабочий бригады');

INSERT INTO accounts_dep.oper (id, vid, naimen, i_id, cena_new) VALUES
  (7777, 7777, 0, 7777, 0),
  (7778, 7778, 0, 7778, 0),
  (7779, 7779, 0, 7779, 0),
  (7780, 7780, 0, 7780, 0),
  (7781, 7781, 0, 7781, 0);

INSERT INTO accounts_dep.norm (o_id, norma, prize, price) VALUES
  (7777, 1, 0, 120),
  (7778, 1, 0, 150);

-- Stamp 0.0: any build is newer and writes its own stamp at its first start.
INSERT INTO accounts_dep.ver (d, t, delim) VALUES (0, 0, '.');

-- ---------------------------------------------------------------------------
-- Privileges of sys
-- ---------------------------------------------------------------------------

GRANT USAGE ON SCHEMA accounts_dep, cmn_contractor, cmn_classifier, cmn_gds_and_srv,
                      hrms_staffpos, cmn_department, adm_role, public TO sys;
GRANT ALL ON ALL TABLES IN SCHEMA accounts_dep, cmn_contractor, cmn_classifier, cmn_gds_and_srv,
                                  hrms_staffpos, cmn_department, adm_role TO sys;
GRANT ALL ON ALL SEQUENCES IN SCHEMA accounts_dep, cmn_contractor, cmn_classifier, cmn_gds_and_srv,
                                     hrms_staffpos, cmn_department, adm_role TO sys;
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA accounts_dep, cmn_contractor, cmn_classifier, cmn_gds_and_srv,
                                         hrms_staffpos, cmn_department, adm_role TO sys;
GRANT USAGE ON DOMAIN public.t_id, public.t_integer, public.t_money TO sys;

\ir indexes.sql

COMMIT;
