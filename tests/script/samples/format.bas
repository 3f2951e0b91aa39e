Imports "tools.bas"
Format(1)
