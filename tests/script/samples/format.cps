#include "tools.cps"
{
  Format(1);
}
