program Sample;
uses 'tools.pas', 'format.pas';
const
  Limit = $FF;
  Greeting = 'Hello' + #13#10 + 'world';
var
  i, j, total: Integer;
  names: array [1..3, 0..2] of String;
  list: array of Variant;
  ratio: Extended = 2.5E-3;

procedure Swap(var a, b: Integer; const c: Integer);
var
  t: Integer;
begin
  t := a; a := b; b := t
end;

function Twice(x: Integer): Integer;
begin
  Result := x * 2
end;

{ block comment }
(* another one *)
begin
  // the main block
  total := 0;
  for i := 1 to 10 do
    total := total + Twice(i) div 2 mod 7;
  for j := 10 downto 1 do
  begin
    if (j > 5) and not (j = 7) or (j >= 9) xor (j <= 2) then
      continue
    else
      break;
  end;
  while total <> 0 do
    total := total - 1 shl 1 shr 1;
  repeat
    Inc(i)
  until (i < 20) or (i in [1, 3..5]);
  case total of
    1, 2: ShowMessage('small');
    3..9: ShowMessage('medium');
  else
    ShowMessage(Greeting);
  end;
  try
    names[1, 0] := 'a';
    list := nil;
  finally
    Swap(i, j, 3);
  end;
  try
    total := -total / 2;
  except
    exit
  end;
  with Memo1.Font, Report do
    Size := 10;
  if Sender is TzelMemoView then
    total := <Items."Amount"> + @Twice(ratio);
end.
