-- The team server for Tessra: a login for the program, a database, and a
-- schema the login owns. Run once, as a PostgreSQL superuser:
--     sudo -u postgres psql -f team-server.sql
-- psql asks for the new login's password. Tessra makes its tables in the
-- schema on its first connection and needs no other right on the server.
CREATE ROLE tessra LOGIN;
\password tessra
CREATE DATABASE tessra;
REVOKE ALL ON DATABASE tessra FROM PUBLIC;
GRANT CONNECT, TEMPORARY ON DATABASE tessra TO tessra;
\connect tessra
CREATE SCHEMA tessra AUTHORIZATION tessra;
