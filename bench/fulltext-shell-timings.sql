-- The full-text benchmarks' queries for the bare sqlite3 shell, on the same index, each run twice
-- (the second run is the warm one). The index needs nothing loaded:
--   sqlite3 -readonly build/bench-data/fulltext/*.fts < bench/fulltext-shell-timings.sql
-- Terms are written folded, as the program folds them; a term of more than three characters is
-- asked of the index by its trigrams and confirmed in the text, a shorter one by the text alone,
-- or, when that takes long, through the trigrams it begins in the index's vocabulary.
.output /dev/null
CREATE VIRTUAL TABLE temp.TermsVocab USING fts5vocab(main, 'Terms', 'row');
.timer on
-- one term of four characters, 188 536 matches: "暗号技術"
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術"' AND instr(Body.text, '暗号技術') > 0 ORDER BY Terms.rowid LIMIT 500;
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術"' AND instr(Body.text, '暗号技術') > 0 ORDER BY Terms.rowid LIMIT 500;
-- two terms: "暗号技術 標準化委員会"
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術" AND "標準化" AND "委員会"' AND instr(Body.text, '暗号技術') > 0 AND instr(Body.text, '標準化委員会') > 0 ORDER BY Terms.rowid LIMIT 500;
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術" AND "標準化" AND "委員会"' AND instr(Body.text, '暗号技術') > 0 AND instr(Body.text, '標準化委員会') > 0 ORDER BY Terms.rowid LIMIT 500;
-- a common two-character term: "技術"
SELECT rank, entry FROM Body WHERE instr(text, '技術') > 0 ORDER BY rank LIMIT 500;
SELECT rank, entry FROM Body WHERE instr(text, '技術') > 0 ORDER BY rank LIMIT 500;
-- a rare two-character term, 295 entries over the whole list: "zz", read in every entry, and
-- through the trigrams it begins
SELECT rank, entry FROM Body WHERE instr(text, 'zz') > 0 ORDER BY rank LIMIT 500;
SELECT rank, entry FROM Body WHERE instr(text, 'zz') > 0 ORDER BY rank LIMIT 500;
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH (SELECT group_concat('"' || replace(term, '"', '""') || '"', ' OR ') FROM TermsVocab WHERE term >= 'zz' AND term < 'z{') AND instr(Body.text, 'zz') > 0 ORDER BY Terms.rowid LIMIT 500;
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH (SELECT group_concat('"' || replace(term, '"', '""') || '"', ' OR ') FROM TermsVocab WHERE term >= 'zz' AND term < 'z{') AND instr(Body.text, 'zz') > 0 ORDER BY Terms.rowid LIMIT 500;
-- an absent two-character term, read in every entry: "ぬぬ"
SELECT rank, entry FROM Body WHERE instr(text, 'ぬぬ') > 0 ORDER BY rank LIMIT 500;
SELECT rank, entry FROM Body WHERE instr(text, 'ぬぬ') > 0 ORDER BY rank LIMIT 500;
-- an absent one-character term: "ゑ"
SELECT rank, entry FROM Body WHERE instr(text, 'ゑ') > 0 ORDER BY rank LIMIT 500;
SELECT rank, entry FROM Body WHERE instr(text, 'ゑ') > 0 ORDER BY rank LIMIT 500;
-- what the vocabulary says of both: no trigram begins with them
SELECT count(*) FROM TermsVocab WHERE term >= 'ぬぬ' AND term < 'ぬぬ' || char(1114111);
SELECT count(*) FROM TermsVocab WHERE term >= 'ゑ' AND term < 'ゑ' || char(1114111);
-- a long term beside an absent short one: "暗号技術 ぬ"
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術"' AND instr(Body.text, '暗号技術') > 0 AND instr(Body.text, 'ぬ') > 0 ORDER BY Terms.rowid LIMIT 500;
SELECT Body.rank, Body.entry FROM Terms JOIN Body ON Body.rank = Terms.rowid WHERE Terms MATCH '"暗号技" AND "号技術"' AND instr(Body.text, '暗号技術') > 0 AND instr(Body.text, 'ぬ') > 0 ORDER BY Terms.rowid LIMIT 500;
