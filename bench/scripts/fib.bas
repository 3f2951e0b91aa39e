Function fib(n)
  If n < 2 Then Return n
  Return fib(n - 1) + fib(n - 2)
End Function

ShowMessage(fib(30))
