local s = 0
for i = 1, 50000000 do
  s = s + i
end
print(s)
