-- Adds a technician's login to Tessra's team server. Run as a PostgreSQL
-- superuser (or a role with CREATEROLE that may grant tessra_technicians):
--     sudo -u postgres psql -v technician=bob -f team-server-add-technician.sql
-- psql asks for the password (scripted: -v technician_password=...).
-- The login may do what tessra_technicians may (see team-server.sql), and
-- everything done with it is recorded on the server under its name. A
-- technician who leaves: ALTER ROLE name NOLOGIN; the record keeps the name.
\set ON_ERROR_STOP on
\if :{?technician}
\else
\echo 'Name the technician: psql -v technician=NAME -f team-server-add-technician.sql'
\quit
\endif

CREATE ROLE :"technician" LOGIN IN ROLE tessra_technicians;
\if :{?technician_password}
ALTER ROLE :"technician" PASSWORD :'technician_password';
\else
\echo 'Password of' :"technician"
\password :"technician"
\endif
