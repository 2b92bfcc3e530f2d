-- Brings a team server made for an earlier Tessra, where one shared login
-- ("tessra") owned the schema, to the roles team-server.sql makes, keeping
-- every row. Run once, as a PostgreSQL superuser, in the server's database:
--     sudo -u postgres psql -v technician=alice -f team-server-upgrade.sql
-- Another database than "tessra": -v database=NAME; another shared login:
-- -v old_login=NAME. psql asks for the new logins' passwords (scripted:
-- -v owner_password=... -v technician_password=...).
--
-- Afterwards the owner's tables are brought up to date by Tessra itself:
-- connect it once as tessra_owner (see team-server.sql). The shared login
-- may no longer log in; the rows it sent keep its name. Every technician
-- gets a login of their own (team-server-add-technician.sql).
\set ON_ERROR_STOP on
\if :{?technician}
\else
\echo 'Name the first technician: psql -v technician=NAME -f team-server-upgrade.sql'
\quit
\endif
\if :{?database}
\else
\set database tessra
\endif
\if :{?old_login}
\else
\set old_login tessra
\endif

SELECT NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tessra_owner') AS make_owner,
       NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tessra_technicians') AS make_group \gset
\if :make_owner
CREATE ROLE tessra_owner LOGIN;
\if :{?owner_password}
ALTER ROLE tessra_owner PASSWORD :'owner_password';
\else
\echo 'Password of tessra_owner (the administrator''s alone):'
\password tessra_owner
\endif
\endif
\if :make_group
CREATE ROLE tessra_technicians NOLOGIN;
\endif
CREATE ROLE :"technician" LOGIN IN ROLE tessra_technicians;
\if :{?technician_password}
ALTER ROLE :"technician" PASSWORD :'technician_password';
\else
\echo 'Password of' :"technician"
\password :"technician"
\endif

\connect :"database"
-- The schema, its tables and sequences change hands; nothing in them moves.
REASSIGN OWNED BY :"old_login" TO tessra_owner;
ALTER DATABASE :"database" OWNER TO tessra_owner;
REVOKE ALL ON DATABASE :"database" FROM PUBLIC, :"old_login";
GRANT CONNECT ON DATABASE :"database" TO tessra_technicians;
REVOKE ALL ON SCHEMA public FROM PUBLIC;
ALTER ROLE :"old_login" NOLOGIN;
