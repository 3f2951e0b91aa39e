var
  i: Integer;
  s: String;
begin
  s := '';
  for i := 1 to 1000000 do
    s := s + '0123456789';
  ShowMessage(Length(s));
end.
