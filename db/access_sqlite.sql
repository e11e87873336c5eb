-- SQLite: the audit trail takes new rows only.
CREATE TRIGGER AuditTrail_NoUpdate BEFORE UPDATE ON AuditTrail
BEGIN
  SELECT RAISE(ABORT, 'The audit trail cannot be changed.');
END;
CREATE TRIGGER AuditTrail_NoDelete BEFORE DELETE ON AuditTrail
BEGIN
  SELECT RAISE(ABORT, 'The audit trail cannot be changed.');
END;
