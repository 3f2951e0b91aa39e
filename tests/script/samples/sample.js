import "tools.js", "format.js";
var total = 0, names[3], i;

function twice(x, &ratio) {
  return x * 2;
}

/* a block comment */
// a line comment
for (i = 1; i < 10; i++)
  total += twice(i, 2) % 7;
for (var j = 10; j > 0; j--) {
  if ((j > 5) && !(j == 7) || (j >= 9) ^ (j <= 2) || (j != 3)) continue;
  else break;
}
while (total != 0)
  total -= 1 << 1 >> 1;
do {
  i++;
} while (i < 20);
switch (total) {
  case 1, 2: ShowMessage("small");
  case 3..9: ShowMessage("medium");
  default: ShowMessage("large\n");
}
try {
  names[1] = "a";
} finally {
  total = total div 2;
}
try
  total = -total / 2 * 3;
except
  ShowMessage("error");
var list = new TList;
delete list;
with (Memo1.Font) Size = 10;
if (Sender is TzelMemoView) total = <Items."Amount"> + &twice(i in [1, 2..4]);
total *= 2;
total /= 2;
