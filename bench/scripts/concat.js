var s = "";
for (var i = 1; i <= 1000000; i++)
  s = s + "0123456789";
ShowMessage(Length(s));
