Dim i As Integer
Dim s = 0
For i = 1 To 50000000
  s = s + i
Next
ShowMessage(s)
