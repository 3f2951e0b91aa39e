uses 'tools.pas';
begin
  Format(1)
end.
