-- Indexes the program's statements need once the tables hold years of data.
-- Included by schema.sql; every statement is idempotent.

-- Shift register: the four lists of one day and shift; also the painting
-- and brigade distribution's choice of a day's output groups.
CREATE INDEX IF NOT EXISTS smena_data_smena_idx ON accounts_dep.smena (data, smena);

-- Hours ledger day rule (a worker's hours of a shift and day), the month
-- sums per worker in the timesheets and the average-piecework price.
CREATE INDEX IF NOT EXISTS smena_w_id_data_idx ON accounts_dep.smena (w_id, data);

-- Products catalog: counting and deleting a product's positions;
-- nomenclature groups catalog: counting the positions on a group's products.
CREATE INDEX IF NOT EXISTS smena_i_id_idx ON accounts_dep.smena (i_id);

-- Hours ledger day rule and household-works entry: find the worker's row of
-- a month (and shift).
CREATE INDEX IF NOT EXISTS h_tabel_w_id_month_year_smena_idx
  ON accounts_dep.h_tabel (w_id, month, year, smena);

-- Monthly timesheets and the ledger rebuilds: all ledger rows of a month.
CREATE INDEX IF NOT EXISTS h_tabel_year_month_idx ON accounts_dep.h_tabel (year, month);

-- Household-works list of a day and the day query of the ledger rebuild.
CREATE INDEX IF NOT EXISTS fatigue_d_date_idx ON accounts_dep.fatigue (d_date);

-- Timesheets and reports: a worker's household-works and average-piecework
-- money and hours over a period; the ledger sum of a worker's day.
CREATE INDEX IF NOT EXISTS fatigue_id_p_d_date_idx ON accounts_dep.fatigue (id_p, d_date);

-- Nomenclature groups catalog: counting a group's entries before deleting it.
CREATE INDEX IF NOT EXISTS fatigue_id_nom_idx ON accounts_dep.fatigue (id_nom);

-- Position editor: the helper list of a position and its clean-up on close.
CREATE INDEX IF NOT EXISTS person_temp_id_smena_idx ON accounts_dep.person_temp (id_smena);

-- Painting operator distribution: the operator's picked groups and sums.
CREATE INDEX IF NOT EXISTS painting_temp_id_p_idx ON accounts_dep.painting_temp (id_p);

-- Operations list: the norms of each operation (count and lowest price);
-- norms editor: the norms of one operation.
CREATE INDEX IF NOT EXISTS norm_o_id_idx ON accounts_dep.norm (o_id);

-- Products catalog: counting and deleting a product's operations.
CREATE INDEX IF NOT EXISTS oper_i_id_idx ON accounts_dep.oper (i_id);

-- Nomenclature groups catalog: counting a group's products.
CREATE INDEX IF NOT EXISTS gds_and_srv_id_class_item_idx
  ON cmn_gds_and_srv.gds_and_srv (id_class_item);

-- Shift register and ledger lists: a position's worker is found by the person's id or by the
-- personnel code read as an id; with this index both sides of that condition use an index
-- instead of comparing every position of the day with every person. A code that is not all
-- digits reads as no id, so the index stores every person the other software writes. The
-- expression is word for word the one the program's statements use.
DROP INDEX IF EXISTS cmn_contractor.person_s_code_id_idx;
CREATE INDEX IF NOT EXISTS person_code_id_idx ON cmn_contractor.person
  ((case when s_code ~ '^[0-9]{1,15}$' then s_code::t_id end));
