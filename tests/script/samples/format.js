import "tools.js";
Format(1);
