#include "tools.cps", "format.cps"
#define Limit 0xFF
#define Greeting "Hello\n" + "world\x41"

int total = 0, grid[3][2];
string names[3];

int twice(int x, float &ratio = 1.5)
{
  return x * 2;
}

void report()
{
  ShowMessage(Greeting);
}

{
  // the main block
  /* a block comment */
  int i = 0;
  for (i = 1; i < 10; i++)
    total += twice(i, 2) % 7;
  for (; i > 0; i--) {
    if ((i > 5) && !(i == 7) || (i >= 9) ^ (i <= 2) || (i != 3))
      continue;
    else
      break;
  }
  while (total != 0)
    total -= 1 << 1 >> 1;
  do {
    i++;
  } while (i < 20);
  switch (total) {
    case 1, 2: ShowMessage("small");
    case 3..9: ShowMessage("medium");
    default: ShowMessage(Greeting);
  }
  try {
    names[1] = "a";
    grid[1][0] = total div 2;
  } finally {
    report();
  }
  try {
    total = -total / 2 * 3;
  } except {
    exit;
  }
  TObject obj = new TObject;
  delete obj;
  if (Sender is TzelMemoView) total = <Items."Amount"> + &twice(i in [1, 2..4]);
  ;
  total *= 2;
  total /= 2;
}
