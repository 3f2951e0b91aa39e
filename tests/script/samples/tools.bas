Dim ToolsVersion = 1
