SET TERM -- ;
select 1 --
SET TERM /* --
select 2 /*
SET TERM ;;; /*
select :a;;;select ::b;;;