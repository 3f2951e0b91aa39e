var
  i: Integer;
  s: Int64;
begin
  s := 0;
  for i := 1 to 50000000 do
    s := s + i;
  ShowMessage(s);
end.
