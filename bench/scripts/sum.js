var s = 0;
for (var i = 1; i <= 50000000; i++)
  s = s + i;
ShowMessage(s);
