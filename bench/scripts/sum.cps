{
  int i;
  Variant s = 0;
  for (i = 1; i <= 50000000; i++)
    s = s + i;
  ShowMessage(s);
}
