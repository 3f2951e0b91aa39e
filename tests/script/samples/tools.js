var ToolsVersion = 1;
