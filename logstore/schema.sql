-- The log database "Verbrauch.mdb": one log per vehicle and one summary view per vehicle.
-- The tables are STRICT so that a number field holds nothing but numbers (or NULL).
-- Rows carry no key of their own; readers list them in rowid order, which is insertion order.

CREATE TABLE "Auto" (
    "Datum" TEXT,
    "Gefahrene Kilometer" REAL,
    "Getankte Liter" REAL,
    "Verbrauch auf 100 km in Liter" REAL
) STRICT;

CREATE TABLE "Motorrad" (
    "Datum" TEXT,
    "Gefahrene Kilometer" REAL,
    "Getankte Liter" REAL,
    "Verbrauch auf 100 km in Liter" REAL
) STRICT;

-- One row: total kilometres, total litres; 0 for an empty log.
CREATE VIEW "Autogesamt" AS
    SELECT coalesce(sum("Gefahrene Kilometer"), 0) AS "Gefahrene Kilometer",
           coalesce(sum("Getankte Liter"), 0) AS "Getankte Liter"
    FROM "Auto";

CREATE VIEW "Motorradgesamt" AS
    SELECT coalesce(sum("Gefahrene Kilometer"), 0) AS "Gefahrene Kilometer",
           coalesce(sum("Getankte Liter"), 0) AS "Getankte Liter"
    FROM "Motorrad";
