-- The data layer's statements for the sqlite3 shell, each run twice (the second run is the warm
-- one). Needs the collation extension:
--   cd build/bin && sqlite3 -readonly ../bench-data/bench-1m.mdb \
--       -cmd ".load ./libtessarine_collation_ext" < ../../bench/shell-timings.sql
.output /dev/null
.timer on
-- The result listing of each search, as FillResultList sends it.
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] = 'CPU')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] = 'CPU')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] Between 'C' And 'Cﾝ')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] Between 'C' And 'Cﾝ')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '*')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '*')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '?PU')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '?PU')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '*NET*')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([AbbrKey] like '*NET*')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([Letter] Between 'central' And 'centralﾝ')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([Letter] Between 'central' And 'centralﾝ')  ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([CategoryID] = 3) ORDER BY [Abbr],[Letter])) LIMIT 500;
SELECT [AbbrID],[Abbr],[Letter] FROM ((SELECT * FROM AbbrTB WHERE ([CategoryID] = 3) ORDER BY [Abbr],[Letter])) LIMIT 500;
-- Showing an entry, and the categories read at start-up.
SELECT * FROM AbbrTB WHERE [AbbrID] = 1;
SELECT * FROM AbbrTB WHERE [AbbrID] = 1;
SELECT * FROM LinkTB WHERE [AbbrID]=1 ORDER BY Word;
SELECT * FROM LinkTB WHERE [AbbrID]=1 ORDER BY Word;
SELECT * FROM CategoryTB ORDER BY Category;
SELECT * FROM CategoryTB ORDER BY Category;
