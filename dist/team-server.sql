-- The team server for Tessra: a database, the roles that keep the
-- department's record in it, and a first technician. Run once, as a
-- PostgreSQL superuser:
--     sudo -u postgres psql -v technician=alice -f team-server.sql
-- psql asks for the new logins' passwords (for a scripted setup, give them
-- as -v owner_password=... -v technician_password=...). Another database
-- name than "tessra": -v database=NAME.
--
-- The roles:
--   tessra_owner        owns the schema "tessra", its tables and the
--                       server's triggers. No laptop logs in as it: the
--                       administrator uses it once to make the tables, and
--                       again when a new Tessra upgrades them (connect
--                       Tessra once with this user, e.g. tessra-cli --sync
--                       with the owner in options.ini, on any journal).
--   tessra_technicians  what Tessra needs: read everything; add sessions,
--                       readings and tests, never change or remove them;
--                       change register items and tests' details only as
--                       new versions, the server keeping the one replaced.
--   one login for each technician, a member of tessra_technicians; add
--   more with team-server-add-technician.sql.
-- The server writes its history and a log of every change itself, with
-- the login that made it and the time.
\set ON_ERROR_STOP on
\if :{?technician}
\else
\echo 'Name the first technician: psql -v technician=NAME -f team-server.sql'
\quit
\endif
\if :{?database}
\else
\set database tessra
\endif

CREATE ROLE tessra_owner LOGIN;
CREATE ROLE tessra_technicians NOLOGIN;
CREATE ROLE :"technician" LOGIN IN ROLE tessra_technicians;
\if :{?owner_password}
ALTER ROLE tessra_owner PASSWORD :'owner_password';
\else
\echo 'Password of tessra_owner (the administrator''s alone):'
\password tessra_owner
\endif
\if :{?technician_password}
ALTER ROLE :"technician" PASSWORD :'technician_password';
\else
\echo 'Password of' :"technician"
\password :"technician"
\endif

CREATE DATABASE :"database" OWNER tessra_owner;
REVOKE ALL ON DATABASE :"database" FROM PUBLIC;
GRANT CONNECT ON DATABASE :"database" TO tessra_technicians;
\connect :"database"
REVOKE ALL ON SCHEMA public FROM PUBLIC;
CREATE SCHEMA tessra AUTHORIZATION tessra_owner;
-- Tessra makes its tables, triggers and the group's rights in it when the
-- owner first connects; a technician's login finds them there.
