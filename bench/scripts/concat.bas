Dim i As Integer
Dim s As String = ""
For i = 1 To 1000000
  s = s + "0123456789"
Next
ShowMessage(Length(s))
