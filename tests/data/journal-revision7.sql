-- A journal as revision 7 of its tables left it, with rows in every table:
-- the journal of revision 6 (three sessions with live and stored readings,
-- their counts, three tests and their details, the register, both
-- histories and what the journal knows of its server), with a test point,
-- a test date, an insulation medium and the maker's limits given to an
-- item, to a test's details and in each history.
CREATE TABLE journal_info (
 name TEXT PRIMARY KEY,
 value INTEGER NOT NULL) WITHOUT ROWID;
INSERT INTO journal_info VALUES('oldest_reader',7);
INSERT INTO journal_info VALUES('version',7);
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
 program_version TEXT NOT NULL DEFAULT '',
 tests_through_seq INTEGER NOT NULL DEFAULT -1,
 synced INTEGER NOT NULL DEFAULT 0,
 from_server INTEGER NOT NULL DEFAULT 0);
INSERT INTO sessions VALUES(1,'5b0f8f8e-3c61-4c1e-9d0e-1f1b2c3d4e5f','window',1765360000000,1765360060000,1,'/dev/hidraw3','A1B2C3','Tessra','IR Tester','1.00',3,1,0);
INSERT INTO sessions VALUES(2,'0e7c1a2b-9f3d-4b5a-8c6d-7e8f9a0b1c2d','logger',1765370000000,NULL,0,'/dev/hidraw4','','','','1.00',-1,0,0);
INSERT INTO sessions VALUES(3,'9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d','logger',1765380000000,1765380000500,0,'','','','','1.01',-1,1,1);
CREATE TABLE readings (
 session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,
 seq INTEGER NOT NULL,
 kind INTEGER NOT NULL,
 mode INTEGER NOT NULL,
 time_ms INTEGER NOT NULL,
 frame BLOB NOT NULL,
 PRIMARY KEY (session_id, seq)) WITHOUT ROWID;
INSERT INTO readings VALUES(1,0,0,6,1765360001000,X'abcd000b020600e6000000000000ee');
INSERT INTO readings VALUES(1,1,0,6,1765360001300,X'abcd000b020600e6000000000000ee');
INSERT INTO readings VALUES(1,2,1,6,1765360002000,X'abcd0009030600e600000000ef');
INSERT INTO readings VALUES(1,3,0,7,1765360003000,X'abcd000e02073fc000000000000000000108');
INSERT INTO readings VALUES(2,0,0,7,1765370001000,X'abcd000e02073fc000000000000000000108');
CREATE TABLE session_counts (
 session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,
 kind INTEGER NOT NULL,
 mode INTEGER NOT NULL,
 count INTEGER NOT NULL,
 PRIMARY KEY (session_id, kind, mode)) WITHOUT ROWID;
INSERT INTO session_counts VALUES(1,0,6,2);
INSERT INTO session_counts VALUES(1,0,7,1);
INSERT INTO session_counts VALUES(1,1,6,1);
CREATE TABLE tests (
 id INTEGER PRIMARY KEY,
 uuid TEXT NOT NULL UNIQUE,
 session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,
 first_seq INTEGER NOT NULL,
 last_seq INTEGER NOT NULL,
 mode INTEGER NOT NULL,
 origin INTEGER NOT NULL,
 status INTEGER NOT NULL,
 started_ms INTEGER NOT NULL,
 ended_ms INTEGER NOT NULL,
 set_volts INTEGER NOT NULL DEFAULT 0,
 synced INTEGER NOT NULL DEFAULT 0);
INSERT INTO tests VALUES(1,'c1d2e3f4-a5b6-4c7d-8e9f-0a1b2c3d4e5f',1,0,1,6,0,1,1765360001000,1765360001300,1000,1);
INSERT INTO tests VALUES(2,'d2e3f4a5-b6c7-4d8e-9f0a-1b2c3d4e5f6a',1,2,2,6,1,2,1765360002000,1765360002000,500,1);
INSERT INTO tests VALUES(3,'e3f4a5b6-c7d8-4e9f-0a1b-2c3d4e5f6a7b',1,3,3,7,0,1,1765360003000,1765360003000,0,0);
CREATE TABLE test_details (
 test_id INTEGER PRIMARY KEY REFERENCES tests (id) ON DELETE CASCADE,
 equipment TEXT NOT NULL DEFAULT '',
 kind INTEGER NOT NULL DEFAULT 3,
 rated_kv REAL,
 insulation_class INTEGER NOT NULL DEFAULT 0,
 winding INTEGER NOT NULL DEFAULT 0,
 insulation_celsius REAL,
 ambient_celsius REAL,
 humidity_percent REAL,
 operator TEXT NOT NULL DEFAULT '',
 notes TEXT NOT NULL DEFAULT '',
 base_celsius REAL,
 halving_celsius REAL NOT NULL DEFAULT 10,
 equipment_id INTEGER REFERENCES equipment (id) ON DELETE SET NULL,
 version INTEGER NOT NULL DEFAULT 1,
 synced_version INTEGER NOT NULL DEFAULT 0,
 updated_ms INTEGER NOT NULL DEFAULT 0, test_point TEXT NOT NULL DEFAULT '', tested_ms INTEGER NOT NULL DEFAULT 0, correction INTEGER NOT NULL DEFAULT 0, medium INTEGER NOT NULL DEFAULT 0, maker_minimum_megohms REAL, maker_minimum_celsius REAL, maker_minimum_pi REAL);
INSERT INTO test_details VALUES(1,'M-101 给水泵',1,6.5999999999999996447,2,1,41.5,22.0,65.0,'李工','after rewinding, "dry"',40.0,10.0,1,2,2,1765361000000,'U1-V1',1765359000000,0,1,100.0,40.0,2.0);
INSERT INTO test_details VALUES(2,'',3,NULL,0,0,NULL,NULL,NULL,'','',NULL,8.5,NULL,1,1,1765362000000,'',0,1,0,NULL,NULL,NULL);
INSERT INTO test_details VALUES(3,'t-7',0,0.4000000000000000222,1,3,-5.25,NULL,99.499999999999999998,'Ana O''Neil','',NULL,10.0,2,1,0,1765363000000,'',0,0,0,NULL,NULL,NULL);
CREATE TABLE equipment (
 id INTEGER PRIMARY KEY,
 uuid TEXT NOT NULL UNIQUE,
 tag TEXT NOT NULL UNIQUE COLLATE NOCASE,
 description TEXT NOT NULL DEFAULT '',
 site TEXT NOT NULL DEFAULT '',
 location TEXT NOT NULL DEFAULT '',
 kind INTEGER NOT NULL DEFAULT 3,
 rated_kv REAL,
 insulation_class INTEGER NOT NULL DEFAULT 0,
 winding INTEGER NOT NULL DEFAULT 0,
 base_celsius REAL,
 notes TEXT NOT NULL DEFAULT '',
 version INTEGER NOT NULL DEFAULT 1,
 updated_ms INTEGER NOT NULL DEFAULT 0,
 synced_version INTEGER NOT NULL DEFAULT 0,
 tag_key TEXT NOT NULL DEFAULT '', medium INTEGER NOT NULL DEFAULT 0, maker_minimum_megohms REAL, maker_minimum_celsius REAL, maker_minimum_pi REAL);
INSERT INTO equipment VALUES(1,'f4a5b6c7-d8e9-4f0a-1b2c-3d4e5f6a7b8c','M-101 给水泵','Feed pump motor','Plant 2','Hall B',1,6.5999999999999996447,2,1,40.0,'bearing replaced 2025',3,1765350000000,2,'m-101 给水泵',2,500.0,20.0,1.5);
INSERT INTO equipment VALUES(2,'a5b6c7d8-e9f0-4a1b-2c3d-4e5f6a7b8c9d','T-7','','','',0,NULL,0,0,NULL,'',1,0,0,'t-7',0,NULL,NULL,NULL);
CREATE TABLE equipment_history (
 id INTEGER PRIMARY KEY,
 equipment_uuid TEXT NOT NULL,
 version INTEGER NOT NULL,
 tag TEXT NOT NULL,
 description TEXT NOT NULL DEFAULT '',
 site TEXT NOT NULL DEFAULT '',
 location TEXT NOT NULL DEFAULT '',
 kind INTEGER NOT NULL DEFAULT 3,
 rated_kv REAL,
 insulation_class INTEGER NOT NULL DEFAULT 0,
 winding INTEGER NOT NULL DEFAULT 0,
 base_celsius REAL,
 notes TEXT NOT NULL DEFAULT '',
 updated_ms INTEGER NOT NULL DEFAULT 0,
 kept_ms INTEGER NOT NULL,
 reason TEXT NOT NULL, medium INTEGER NOT NULL DEFAULT 0, maker_minimum_megohms REAL, maker_minimum_celsius REAL, maker_minimum_pi REAL);
INSERT INTO equipment_history VALUES(1,'f4a5b6c7-d8e9-4f0a-1b2c-3d4e5f6a7b8c',2,'M-101 给水泵','Feed pump','Plant 2','Hall A',1,6.5999999999999996447,2,1,40.0,'',1765340000000,1765350000500,'conflict',1,NULL,NULL,NULL);
CREATE TABLE test_details_history (
 id INTEGER PRIMARY KEY,
 test_uuid TEXT NOT NULL,
 version INTEGER NOT NULL,
 equipment TEXT NOT NULL DEFAULT '',
 kind INTEGER NOT NULL DEFAULT 3,
 rated_kv REAL,
 insulation_class INTEGER NOT NULL DEFAULT 0,
 winding INTEGER NOT NULL DEFAULT 0,
 insulation_celsius REAL,
 ambient_celsius REAL,
 humidity_percent REAL,
 operator TEXT NOT NULL DEFAULT '',
 notes TEXT NOT NULL DEFAULT '',
 base_celsius REAL,
 halving_celsius REAL NOT NULL DEFAULT 10,
 updated_ms INTEGER NOT NULL DEFAULT 0,
 kept_ms INTEGER NOT NULL,
 reason TEXT NOT NULL, test_point TEXT NOT NULL DEFAULT '', tested_ms INTEGER NOT NULL DEFAULT 0, correction INTEGER NOT NULL DEFAULT 0, medium INTEGER NOT NULL DEFAULT 0, maker_minimum_megohms REAL, maker_minimum_celsius REAL, maker_minimum_pi REAL);
INSERT INTO test_details_history VALUES(1,'c1d2e3f4-a5b6-4c7d-8e9f-0a1b2c3d4e5f',2,'M-101',1,6.5999999999999996447,2,1,40.0,21.0,60.0,'Li','before rewinding',40.0,10.0,1765360500000,1765361000500,'conflict','W1',1765358000000,0,0,NULL,NULL,NULL);
INSERT INTO test_details_history VALUES(2,'d2e3f4a5-b6c7-4d8e-9f0a-1b2c3d4e5f6a',1,'',3,NULL,0,0,NULL,NULL,NULL,'','first try',NULL,12.0,1765361500000,1765362000500,'conflict','',0,1,0,NULL,NULL,NULL);
CREATE TABLE sync_info (
 name TEXT PRIMARY KEY,
 value TEXT NOT NULL) WITHOUT ROWID;
INSERT INTO sync_info VALUES('cursor','8123');
INSERT INTO sync_info VALUES('last_sync_ms','1765361000600');
INSERT INTO sync_info VALUES('server_id','a0b1c2d3-e4f5-4a6b-8c7d-9e0f1a2b3c4d');
CREATE INDEX sessions_by_start ON sessions (started_ms);
CREATE INDEX sessions_to_sync ON sessions (synced, ended_ms);
CREATE INDEX tests_by_session ON tests (session_id, first_seq);
CREATE INDEX tests_by_start ON tests (started_ms);
CREATE INDEX tests_to_sync ON tests (synced);
CREATE UNIQUE INDEX equipment_by_tag_key ON equipment (tag_key);
CREATE INDEX test_details_by_equipment ON test_details (equipment_id);
CREATE INDEX equipment_history_by_item ON equipment_history (equipment_uuid, version);
CREATE INDEX test_details_history_by_test ON test_details_history (test_uuid, version);
