Imports "tools.bas", "format.bas"
' a comment line
rem another comment
Dim total, i As Integer = 0, names[3], ratio As Decimal
Dim list = New TList

Sub Swap(ByRef a, ByVal b, c)
  Dim t = a : a = b : b = t
End Sub

Function Twice(x As Integer) As Integer
  Return x * 2
End Function

For i = 1 To 10 Step 2
  total += Twice(i) \ 2 Mod 7
Next
If (i > 5) And Not (i = 7) Or (i >= 9) Xor (i <= 2) Or (i <> 3) Then
  Continue
ElseIf i < 0 Then
  Break
ElseIf i = 0 Then
  Exit
Else
  total = total - 1
End If
If total < 0 Then total = 0
If total > 0 Then
  total -= 1
Else
  total *= 2
End If
While total <> 0
  total /= 2
Wend
Do
  i++
Loop Until i > 20
Do
  i--
Loop While i > 0
Select Case total
  Case 1, 2: ShowMessage("small")
  Case 3..9: ShowMessage("medium" & "!")
  Case Else: ShowMessage("large")
End Select
Try
  names[1] = "a"
Catch
  Exit
End Try
Try
  total = -total / 2
Finally
  Swap(i, total, 3)
End Try
With Memo1.Font
  Size = 10
End With
Set list = Nothing
Delete list
If Sender Is TzelMemoView Then total = <Items."Amount"> + AddressOf Twice(i In [1, 2..4])
total = total + _
  1
