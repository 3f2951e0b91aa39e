function fib(n: Integer): Integer;
begin
  if n < 2 then
    Result := n
  else
    Result := fib(n - 1) + fib(n - 2);
end;

begin
  ShowMessage(fib(30));
end.
