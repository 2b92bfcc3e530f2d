-- A journal as revision 2 of its tables left it, with rows in every table
-- a later revision alters: three sessions (one closed, one cut short, one
-- ended without readings) with live and stored readings, and the
-- counts of the ended sessions' readings. The frames are those of the
-- first revision's fixture.
CREATE TABLE journal_info (
 name TEXT PRIMARY KEY,
 value INTEGER NOT NULL) WITHOUT ROWID;
CREATE TABLE sessions (
 id INTEGER PRIMARY KEY,
 uuid TEXT NOT NULL UNIQUE,
 source TEXT NOT NULL,
 started_ms INTEGER NOT NULL,
 ended_ms INTEGER,
 clean_end INTEGER NOT NULL DEFAULT 0,
 meter_path TEXT NOT NULL DEFAULT '',
 serial_number TEXT NOT NULL DEFAULT '',
 manufacturer TEXT NOT NULL DEFAULT '',
 product TEXT NOT NULL DEFAULT '',
 program_version TEXT NOT NULL DEFAULT '');
CREATE INDEX sessions_by_start ON sessions (started_ms);
CREATE TABLE readings (
 session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,
 seq INTEGER NOT NULL,
 kind INTEGER NOT NULL,
 mode INTEGER NOT NULL,
 time_ms INTEGER NOT NULL,
 frame BLOB NOT NULL,
 PRIMARY KEY (session_id, seq)) WITHOUT ROWID;
CREATE TABLE session_counts (
 session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,
 kind INTEGER NOT NULL,
 mode INTEGER NOT NULL,
 count INTEGER NOT NULL,
 PRIMARY KEY (session_id, kind, mode)) WITHOUT ROWID;
INSERT INTO journal_info VALUES ('version', 2), ('oldest_reader', 1);
INSERT INTO sessions VALUES (1, '5b0f8f8e-3c61-4c1e-9d0e-1f1b2c3d4e5f', 'window', 1765360000000, 1765360060000, 1,
                             '/dev/hidraw3', 'A1B2C3', 'Tessra', 'IR Tester', '1.00');
INSERT INTO sessions VALUES (2, '0e7c1a2b-9f3d-4b5a-8c6d-7e8f9a0b1c2d', 'logger', 1765370000000, NULL, 0,
                             '/dev/hidraw4', '', '', '', '1.00');
INSERT INTO sessions VALUES (3, '9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d', 'logger', 1765380000000, 1765380000500, 0,
                             '', '', '', '', '1.01');
INSERT INTO readings VALUES (1, 0, 0, 6, 1765360001000, X'ABCD000B020600E6000000000000EE');
INSERT INTO readings VALUES (1, 1, 0, 6, 1765360001300, X'ABCD000B020600E6000000000000EE');
INSERT INTO readings VALUES (1, 2, 1, 6, 1765360002000, X'ABCD0009030600E600000000EF');
INSERT INTO readings VALUES (1, 3, 0, 7, 1765360003000, X'ABCD000E02073FC000000000000000000108');
INSERT INTO readings VALUES (2, 0, 0, 7, 1765370001000, X'ABCD000E02073FC000000000000000000108');
INSERT INTO session_counts VALUES (1, 0, 6, 2), (1, 1, 6, 1), (1, 0, 7, 1);
