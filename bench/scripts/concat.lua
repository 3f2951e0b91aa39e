local parts = {}
for i = 1, 1000000 do
  parts[i] = "0123456789"
end
print(#table.concat(parts))
